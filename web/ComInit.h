#pragma once

// ComInit and ComUninit: the application's bracket around its use of
// automation objects on a thread. They call CoInitialize (with no reserved
// argument) and CoUninitialize of "ole32.dll" as the program's DLL commands 1
// and 2; the result of CoInitialize is ignored, as a failing initialisation
// shows itself in the automation calls that follow.

#include <cstdint>

namespace vellumry::web {

// The entries of the program's DLL command table that these call.
inline constexpr std::int32_t kCoInitializeCommand = 1;
inline constexpr std::int32_t kCoUninitializeCommand = 2;

void ComInit();
void ComUninit();

}  // namespace vellumry::web
