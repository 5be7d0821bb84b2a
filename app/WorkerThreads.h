#pragma once

// Starting and stopping the application's worker threads, through its DLL
// commands 0 (CreateThread), 5 (GetExitCodeThread) and 6 (TerminateThread).
//
// - StartWorker starts a thread at once (no security attributes, the default
//   stack size, creation flags 0) and answers its handle as a 32-bit value,
//   0 when the thread could not be started. Every handle it answers is kept,
//   so that a stop reaches every worker the buttons started, not only the
//   latest of each kind.
// - StopWorker reads the thread's exit code and terminates it with that
//   code: a running worker is ended with STILL_ACTIVE (259); an ended one and
//   handle 0 are left as they are.
// - StopAllWorkers stops every started worker that has not ended yet.
//
// Window thread: the buttons' handlers start and stop workers.

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace vellumry::app {

// The start routine of a worker: one parameter, the exit code as result.
using WorkerRoutine = DWORD (*)(LPVOID parameter);

std::int32_t StartWorker(WorkerRoutine startRoutine, std::int32_t parameter, std::int32_t& threadId);
void StopWorker(std::int32_t thread);
void StopAllWorkers();

// How many started workers are remembered (the ended ones are forgotten at
// the next start).
std::size_t RememberedWorkerCount();

}  // namespace vellumry::app
