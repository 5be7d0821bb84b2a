#pragma once

// The command routine arrays of the support libraries: 54 slots for the core
// library and 7 for the extended-UI library. The library records of the
// program description point at them. Each layer that implements commands
// fills its own slots during start-up wiring, before any command is called;
// a slot that nobody filled holds null.

#include <cstdint>
#include <span>

#include "runtime/LibraryCommand.h"

namespace vellumry::runtime {

inline constexpr std::int32_t kCoreCommandCount = 54;
inline constexpr std::int32_t kExtendedUiCommandCount = 7;

std::span<LibraryCommand, kCoreCommandCount> CoreCommandSlots();
std::span<LibraryCommand, kExtendedUiCommandCount> ExtendedUiCommandSlots();

}  // namespace vellumry::runtime
