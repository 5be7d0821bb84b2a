#pragma once

// The kernel32 thread functions as the Windows documentation describes them,
// on POSIX threads:
// - CreateThread starts a thread running the routine with its parameter at
//   once and hands back a handle (kernel handle table) that stays valid until
//   it is closed, which this program never does: after the thread has ended
//   the handle still answers its exit code. A failed start gives a null
//   handle with the last error. The new thread's identifier is the one
//   GetCurrentThreadId gives inside it. Supported creation flags: 0 and
//   STACK_SIZE_PARAM_IS_A_RESERVATION; CREATE_SUSPENDED (which needs
//   ResumeThread, not built) fails with ERROR_INVALID_PARAMETER.
// - GetExitCodeThread answers STILL_ACTIVE (259) until the thread has ended,
//   then the routine's result, or the code TerminateThread gave.
// - TerminateThread is cooperative (ThreadControl.h): it marks the thread and
//   returns at once, waiting for nothing but a file commit under way; the
//   thread unwinds at its next stop point and ends by itself, with the exit
//   code given here. For a thread that has already ended it does nothing.
//   Called by the thread on itself it unwinds the caller at once.
// Handle 0, a closed handle and a handle of another kind of object fail with
// ERROR_INVALID_HANDLE and do nothing.
//
// Any thread.

#include <chrono>
#include <cstddef>

#include "platform/base/WinTypes.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD CREATE_SUSPENDED = 0x00000004;
inline constexpr DWORD STACK_SIZE_PARAM_IS_A_RESERVATION = 0x00010000;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE startAddress,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
BOOL TerminateThread(HANDLE thread, DWORD exitCode);

namespace vellumry::kernel {

// Waits until the thread of a handle has ended or `limit` has passed; false
// on timeout or for a handle that is not a thread's.
bool WaitForThreadEnd(HANDLE thread, std::chrono::milliseconds limit);

// The threads CreateThread started that have not ended yet.
std::size_t LiveWorkerCount();

// Stops every live worker as TerminateThread does, with `exitCode`.
void StopAllWorkers(DWORD exitCode);

// Waits until every worker has ended, or `limit` has passed. A worker that
// waits for a call the window thread is running is not waited for: it cannot
// end before that call returns, and the window thread may be the caller.
// True when no worker is alive any more. `betweenSlices`, when given, runs
// on the calling thread every few milliseconds while it waits.
bool WaitForWorkersToEnd(std::chrono::milliseconds limit, void (*betweenSlices)() = nullptr);

}  // namespace vellumry::kernel
