#pragma once

// The hidden owner window "_QV_HideOwner": a tool window without caption or
// size, created once at start-up. Form windows that must not appear in the
// taskbar are owned by it, and it carries requests to end the program from
// other threads to the main thread (message 0x83E7 with the exit code).

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace vellumry::runtime {

inline constexpr unsigned kMessageEndProgram = 0x83E7;

// Registers the class and creates the window (window thread).
void CreateHiddenOwner();
void DestroyHiddenOwner();
HWND HiddenOwner();

// Sends the end request to the main thread and returns when it was handled
// or could not be delivered (no hidden owner).
void ForwardEndProgram(std::int32_t code);

}  // namespace vellumry::runtime
