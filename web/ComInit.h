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

// ComUninit for destructors, which must not throw on the normal path: a stop
// marked meanwhile is left to the thread's next stop point, and the
// uninitialisation still happens.
void ComUninitInDestructor() noexcept;

// ComInit when made, ComUninit when gone, on every way out.
class ComInitScope {
public:
    ComInitScope() { ComInit(); }
    ~ComInitScope() { ComUninitInDestructor(); }
    ComInitScope(const ComInitScope&) = delete;
    ComInitScope& operator=(const ComInitScope&) = delete;
};

}  // namespace vellumry::web
