#pragma once

// The 32-bit object and cursor slots of the unit records hold handles into
// this table instead of pointers. Handles are nonzero and never reused while
// the program runs. Window thread only.

#include <cstdint>

namespace vellumry::forms {

std::uint32_t RegisterObject(void* object);
void* LookupObject(std::uint32_t handle);
void ReleaseObject(std::uint32_t handle);

}  // namespace vellumry::forms
