#include "runtime/Shutdown.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/DllCommands.h"
#include "runtime/EventSuppression.h"
#include "runtime/ExitRoutines.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeState.h"

namespace vellumry::runtime {
namespace {

ShutdownHooks g_hooks;

constexpr std::int32_t kLibraryShutdownNotice = 6;

void Call(void (*hook)())
{
    if (hook)
        hook();
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
    std::fflush(nullptr);
    if (OnMainThread())
        std::exit(code);
    // Another thread owns the windows and static objects; do not run their
    // destructors underneath it.
    std::_Exit(code);
}

}  // namespace

void SetShutdownHooks(const ShutdownHooks& hooks)
{
    g_hooks = hooks;
}

void RunShutdown()
{
    RaiseEventSuppression();
    RuntimeState& state = Runtime();
    if (state.shutdownInProgress.exchange(true))
        return;
    Call(g_hooks.clearIdleCallbacks);
    Call(g_hooks.releaseForms);
    RunExitRoutines();
    NotifyLibrariesOfShutdown();
    UnloadDllCommands();
    ClearStaticDataBlock();
    Call(g_hooks.releaseWindowSystem);
    Call(g_hooks.stopAllMusic);
    Call(g_hooks.uninitializeOle);
}

void EndProgram(std::int32_t code)
{
    RaiseEventSuppression();
    if (!OnMainThread()) {
        if (g_hooks.forwardToMainThread && !Runtime().shutdownInProgress.load())
            g_hooks.forwardToMainThread(code);
        // The main thread ends the process once its shutdown has started;
        // otherwise nobody will, so this thread does.
        if (!Runtime().shutdownInProgress.load())
            EndProcess(code);
        // The main thread is shutting down and will end the process.
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    RunShutdown();
    EndProcess(code);
}

}  // namespace vellumry::runtime
