#include "runtime/Shutdown.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/kernel/ThreadApi.h"
#include "runtime/DllCommands.h"
#include "runtime/EventSuppression.h"
#include "runtime/ExitRoutines.h"
#include "runtime/HiddenOwner.h"
#include "runtime/HostLayers.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeState.h"

namespace vellumry::runtime {
namespace {

constexpr std::int32_t kLibraryShutdownNotice = 6;
// How long the shutdown gives stopped workers to unwind. A worker unwinds at
// its next call into the runtime or the window, or when its transfer sees
// the stop; one that does neither in this time is left to the end of the
// process.
constexpr auto kWorkerUnwindLimit = std::chrono::seconds(3);

// Stops the workers still running and waits, bounded, for them to end, so
// that nothing below (exit routines, the DLL command table, static
// destructors) runs under a live worker. Stopped workers make no window
// calls, so the window thread need not pump meanwhile. False when some
// worker is still alive afterwards.
bool StopWorkers()
{
    if (kernel::LiveWorkerCount() == 0)
        return true;
    kernel::StopAllWorkers(0);
    return kernel::WaitForWorkersToEnd(std::chrono::duration_cast<std::chrono::milliseconds>(kWorkerUnwindLimit));
}

void NotifyLibrariesOfShutdown()
{
    RuntimeState& state = Runtime();
    if (!state.header)
        return;
    for (std::int32_t i = 0; i < state.header->libraryCount; ++i) {
        const LibraryRecord* library = state.header->libraries[i];
        if (library && library->notify) {
            std::intptr_t value = static_cast<size_t>(i) < state.libraryValues.size() ? state.libraryValues[i] : 0;
            library->notify(kLibraryShutdownNotice, value, 0);
        }
    }
}

[[noreturn]] void EndProcess(std::int32_t code)
{
    // Another thread owns the windows and static objects, or a worker is
    // still alive: do not run their destructors underneath it.
    if (OnMainThread())
        EndProcessUnlessWorkersEnded(code);
    std::fflush(nullptr);
    if (OnMainThread())
        std::exit(code);
    std::_Exit(code);
}

}  // namespace

void RunShutdown()
{
    RaiseEventSuppression();
    RuntimeState& state = Runtime();
    if (state.shutdownInProgress.exchange(true))
        return;
    ClearIdleCallbacks();
    bool workersEnded = StopWorkers();
    if (FormEngine().releaseForms)
        FormEngine().releaseForms();
    RunExitRoutines();
    NotifyLibrariesOfShutdown();
    if (workersEnded)
        UnloadDllCommands();  // a worker left alive may be inside a DLL command
    ClearStaticDataBlock();
    if (FormEngine().releaseProgramIcons)
        FormEngine().releaseProgramIcons();
    DestroyHiddenOwner();
    if (Sound().stopAllMusic)
        Sound().stopAllMusic(true);
    if (state.oleInitializedByRuntime && ComponentModel().uninitialize) {
        ComponentModel().uninitialize();
        state.oleInitializedByRuntime = false;
    }
}

void EndProcessUnlessWorkersEnded(std::int32_t code)
{
    if (kernel::LiveWorkerCount() == 0)
        return;
    std::fflush(nullptr);
    std::_Exit(code);
}

void EndProgram(std::int32_t code)
{
    RaiseEventSuppression();
    if (!OnMainThread()) {
        if (!Runtime().shutdownInProgress.load())
            ForwardEndProgram(code);
        // The main thread ends the process once its shutdown has started;
        // otherwise nobody will, so this thread does.
        if (!Runtime().shutdownInProgress.load())
            EndProcess(code);
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    RunShutdown();
    EndProcess(code);
}

}  // namespace vellumry::runtime
