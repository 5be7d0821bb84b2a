#pragma once

// The status bar unit's stored property record (versions 0 and 1; 1 is
// written). `Parts` holds the parts block of StatusBarParts.h; `PartImages`
// an image list blob (ImageListBlob.h).

#include <cstdint>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct StatusBarProperties {
    std::int32_t BackColour = kButtonFaceColour;
    std::int32_t BarPosition = 0;
    std::int32_t SizeGrip = 0;
    Bytes Font;
    Bytes PartImages;
    Bytes Parts;

    bool operator==(const StatusBarProperties&) const = default;
};

template <>
const RecordLayout<StatusBarProperties>& LayoutOf<StatusBarProperties>();

}  // namespace vellumry::units
