#pragma once

// Form and unit identifiers: 32-bit, bits 0 to 23 the number, bits 24 to 27
// the kind (2 form, 6 unit), bits 28 to 31 the sub-kind (for units: 0 the
// form's own window unit, 1 an ordinary unit, 2 a menu item). An identifier
// is valid when its number and its kind are both nonzero. UnitId 0 in a
// request names the form's own window unit.

#include <cstdint>

namespace vellumry::forms {

using FormId = std::uint32_t;
using UnitId = std::uint32_t;

inline constexpr std::uint32_t kFormKind = 2;
inline constexpr std::uint32_t kUnitKind = 6;

inline constexpr std::uint32_t kWindowUnitSubKind = 0;
inline constexpr std::uint32_t kOrdinaryUnitSubKind = 1;
inline constexpr std::uint32_t kMenuItemSubKind = 2;

constexpr std::uint32_t IdNumber(std::uint32_t id)
{
    return id & 0x00FFFFFF;
}

constexpr std::uint32_t IdKind(std::uint32_t id)
{
    return (id >> 24) & 0xF;
}

constexpr std::uint32_t IdSubKind(std::uint32_t id)
{
    return id >> 28;
}

constexpr bool IsValidId(std::uint32_t id)
{
    return IdNumber(id) != 0 && IdKind(id) != 0;
}

constexpr bool IsFormId(std::uint32_t id)
{
    return IdKind(id) == kFormKind;
}

constexpr std::uint32_t MakeId(std::uint32_t subKind, std::uint32_t kind, std::uint32_t number)
{
    return (subKind << 28) | ((kind & 0xF) << 24) | (number & 0x00FFFFFF);
}

}  // namespace vellumry::forms
