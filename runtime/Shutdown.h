#pragma once

// Ending the program in order. The steps the runtime core owns run here; the
// layers above (form engine, window system, sound, component model) take part
// through hooks they install at start-up. Missing hooks are skipped.

#include <cstdint>

namespace vellumry::runtime {

struct ShutdownHooks {
    // Step 2 on a worker thread: hands the request to the main thread and
    // returns when the main thread has taken it or could not be reached.
    void (*forwardToMainThread)(std::int32_t code) = nullptr;
    void (*clearIdleCallbacks)() = nullptr;
    void (*releaseForms)() = nullptr;
    // Icons, the hidden owner window and the remaining runtime objects.
    void (*releaseWindowSystem)() = nullptr;
    // Stops all music and waits for every feeder thread to end.
    void (*stopAllMusic)() = nullptr;
    void (*uninitializeOle)() = nullptr;
};

void SetShutdownHooks(const ShutdownHooks& hooks);

// Ends the program with `code` after the shutdown steps. From a worker thread
// the main thread performs the shutdown; when it does not (no shutdown has
// started when the request returns), the worker ends the process itself.
[[noreturn]] void EndProgram(std::int32_t code);

// The shutdown steps without ending the process (the framework's exit path).
// Does nothing when a shutdown is already in progress.
void RunShutdown();

}  // namespace vellumry::runtime
