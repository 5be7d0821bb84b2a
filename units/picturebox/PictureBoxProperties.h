#pragma once

// The picture box unit's stored property record (versions 0 to 2; 2 is
// written).

#include <cstdint>
#include <string>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct PictureBoxProperties {
    std::int32_t BorderStyle = 0;
    std::int32_t BackColour = kButtonFaceColour;
    std::int32_t DisplayMode = 0;
    std::int32_t Animate = 1;
    Bytes Picture;
    // Names of other units of the form that the box binds itself to
    // (properties 5 and 6; version 2).
    std::string BoundUnit1;
    std::string BoundUnit2;

    bool operator==(const PictureBoxProperties&) const = default;
};

template <>
const RecordLayout<PictureBoxProperties>& LayoutOf<PictureBoxProperties>();

}  // namespace vellumry::units
