#pragma once

// Property kinds in the unit types' property records: the kind decides the
// value form a property is exchanged in with the application.

#include <cstdint>

namespace vellumry::forms {

// Kinds run from 1000 to 1024; those without a name here are kinds no unit
// type of this program has, converted as the table of value forms says
// (forms/engine/PropertyValues.cpp).
inline constexpr std::int16_t kFirstPropertyKind = 1000;
inline constexpr std::int16_t kLastPropertyKind = 1024;

inline constexpr std::int16_t kIntegerKind = 1000;    // 32-bit integer
inline constexpr std::int16_t kPlacementKind = 1001;  // 32-bit integer (left, top, width, height)
inline constexpr std::int16_t kBooleanKind = 1003;
inline constexpr std::int16_t kTextKind = 1005;
inline constexpr std::int16_t kPickListKind = 1006;  // 32-bit integer; negative values written become 0
inline constexpr std::int16_t kPictureKind = 1009;   // byte data
inline constexpr std::int16_t kSoundKind = 1010;     // byte data
inline constexpr std::int16_t kMousePointerKind = 1011;
inline constexpr std::int16_t kByteDataKind = 1012;
inline constexpr std::int16_t kFontKind = 1013;

// State flags of the eight common properties.
inline constexpr std::uint16_t kCommonPropertyState = 0xE000;
inline constexpr int kCommonPropertyCount = 8;

}  // namespace vellumry::forms
