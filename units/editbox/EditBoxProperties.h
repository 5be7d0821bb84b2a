#pragma once

// The edit box unit's stored property record (versions 0 to 2; 2 is written).

#include <cstdint>
#include <string>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct EditBoxProperties {
    std::int32_t BorderStyle = 1;
    std::int32_t TextColour = 0;
    std::int32_t BackColour = 0xFFFFFF;
    std::int32_t HideSelection = 1;
    std::int32_t MaxLength = 0;
    std::int32_t MultiLine = 0;
    std::int32_t ScrollBars = 0;
    std::int32_t TextAlignment = 0;
    std::int32_t InputMode = 0;
    std::int16_t PasswordChar = '*';
    std::int32_t LetterCase = 0;
    std::int32_t SpinMode = 0;
    std::int32_t SpinMin = 0;
    std::int32_t SpinMax = 100;
    std::int32_t SelectionStart = 0;
    std::int32_t SelectionLength = 0;
    Bytes Font;
    std::string Content;
    // Names of other units of the form that the box binds itself to
    // (properties 19 and 20; version 2).
    std::string BoundUnit1;
    std::string BoundUnit2;

    bool operator==(const EditBoxProperties&) const = default;
};

template <>
const RecordLayout<EditBoxProperties>& LayoutOf<EditBoxProperties>();

}  // namespace vellumry::units
