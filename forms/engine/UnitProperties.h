#pragma once

// Reading and writing unit properties by (FormId, UnitId, index, sub-index):
// the common properties 0 to 7 of every unit (which also act on the stored
// record while the form is not loaded), the unit's own properties from 8 on
// (converted by the property's kind), and the four properties of menu items.
// Callable from any thread: the work runs on the window thread.

#include <cstdint>

namespace vellumry::forms {

std::uint64_t ReadUnitProperty(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex);
void WriteUnitProperty(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                       std::uint32_t low, std::uint32_t high);

// The same for a unit object held outside any form, by its type tag; only
// the unit's own properties (index 8 and up) exist there.
std::uint64_t ReadObjectProperty(std::uint32_t tag, void* object, std::int32_t index, std::int32_t subIndex);
void WriteObjectProperty(std::uint32_t tag, void* object, std::int32_t index, std::int32_t subIndex,
                         std::uint32_t low, std::uint32_t high);

// Common property clamping.
inline constexpr std::int32_t kPlacementLimit = 32627;

}  // namespace vellumry::forms
