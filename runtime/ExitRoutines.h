#pragma once

// Exit routines registered by the application. Each routine is registered once;
// at program end they run in registration order with their position as the
// argument. After a runtime error they are dropped without running.

#include <cstdint>

namespace vellumry::runtime {

using ExitRoutine = void (*)(std::int32_t position);

void RegisterExitRoutine(ExitRoutine routine);
void RunExitRoutines();
void ClearExitRoutines();

}  // namespace vellumry::runtime
