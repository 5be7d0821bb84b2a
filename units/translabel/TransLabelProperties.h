#pragma once

// The transparent label unit's stored property record (versions 0 and 1; 1
// is written). The default caption is the type's display name.

#include <cstdint>
#include <string>

#include "units/RecordFormat.h"
#include "units/UnitTexts.h"

namespace vellumry::units {

struct TransLabelProperties {
    std::int32_t TextEffect = 0;
    std::int32_t TextColour = 0;
    std::int32_t HorizontalAlignment = 0;
    std::int32_t VerticalAlignment = 1;
    std::int32_t WordWrap = 0;
    Bytes Font;
    std::string Caption = texts::kTransLabelDefaultCaption;

    bool operator==(const TransLabelProperties&) const = default;
};

template <>
const RecordLayout<TransLabelProperties>& LayoutOf<TransLabelProperties>();

}  // namespace vellumry::units
