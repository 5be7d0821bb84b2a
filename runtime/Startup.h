#pragma once

// Runtime initialisation (runtime service 6), the start form and the message
// loop (runtime interface entries 11 and 10).

#include <cstdint>

#include "runtime/ProgramHeader.h"

namespace vellumry::runtime {

// The program description the runtime starts from; set by the process entry
// before the application's program entry runs.
void SetProgramHeader(const ProgramHeader* header);

// Runs the initialisation steps in order: header values, the component model
// for the main thread, the program's folder as the current directory, the
// hidden owner window, the main thread and the static data block, the DLL
// command table, the support libraries, the window template.
void InitializeRuntime();

// Loads the start form; a failure is the fatal "载入启动窗口失败".
void LoadStartForm(std::uint32_t formId);

// Pumps messages until the quit message; returns at once when no form window
// is alive.
void RunMessageLoop();

}  // namespace vellumry::runtime
