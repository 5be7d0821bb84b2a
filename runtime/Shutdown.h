#pragma once

// Ending the program in order: the runtime core's steps, with the form
// engine, the component model and sound taking part through their hooks
// (HostLayers.h).

#include <cstdint>

namespace vellumry::runtime {

// Ends the program with `code` after the shutdown steps. From a worker thread
// the request goes to the main thread through the hidden owner window; when no
// shutdown has started by the time it returns, the worker ends the process
// itself.
[[noreturn]] void EndProgram(std::int32_t code);

// The shutdown steps without ending the process (the framework's exit path).
// Does nothing when a shutdown is already in progress. Its first step stops
// the workers that still run (TerminateThread) and waits a bounded time for
// them to end.
void RunShutdown();

// The framework's end after its exit step: returns when the process may run
// its static destructors, or ends the process with `code` at once while a
// worker is still alive.
void EndProcessUnlessWorkersEnded(std::int32_t code);

}  // namespace vellumry::runtime
