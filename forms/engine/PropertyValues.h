#pragma once

// Conversions between the application's value forms (a 64-bit payload) and
// the units' property values, by property kind. Fonts travel to units as a
// 60-byte LOGFONTA and to the application as one member (by sub-index) or as
// a FontRecord.

#include <cstdint>
#include <optional>

#include "forms/engine/UnitType.h"

namespace vellumry::forms {

enum class ValueForm { Integer, Wide, Boolean, Text, Bytes, MousePointer, Font };

ValueForm ValueFormOfKind(std::int16_t kind);

// The whole font as the application reads and writes it with sub-index -1:
// seven members, the face name as a runtime text owned by the record's owner.
struct FontRecord {
    std::int32_t orientation;
    std::int32_t bold;
    std::int32_t italic;
    std::int32_t strikeOut;
    std::int32_t underline;
    std::int32_t pointSize;
    char* faceName;
};

// A new runtime value (text, byte-set, font record) or a plain number, as the
// payload the application receives. The value is the unit's answer.
std::uint64_t ToApplication(std::int16_t kind, std::int32_t subIndex, const UnitPropertyValue& value);

// The unit's value for the application's payload. `current` is the unit's
// present value, used by fonts written one member at a time.
UnitPropertyValue FromApplication(std::int16_t kind, std::int32_t subIndex, std::uint32_t low, std::uint32_t high,
                                  const UnitPropertyValue& current);

// The system's default GUI font as a LOGFONTA, for units without a font.
std::vector<std::uint8_t> DefaultGuiFont();

}  // namespace vellumry::forms
