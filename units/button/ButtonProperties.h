#pragma once

// The button unit's stored property record (versions 0 and 1; 1 is written).

#include <cstdint>
#include <string>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct ButtonProperties {
    std::int32_t DefaultButton = 0;
    std::int32_t HorizontalAlignment = 1;
    std::int32_t VerticalAlignment = 1;
    Bytes ButtonPicture;
    Bytes Font;
    std::string ButtonCaption;

    bool operator==(const ButtonProperties&) const = default;
};

template <>
const RecordLayout<ButtonProperties>& LayoutOf<ButtonProperties>();

}  // namespace vellumry::units
