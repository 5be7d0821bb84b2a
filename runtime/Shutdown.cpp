#include "runtime/Shutdown.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

void RunShutdown()
{
    RaiseEventSuppression();
    RuntimeState& state = Runtime();
    if (state.shutdownInProgress.exchange(true))
        return;
    ClearIdleCallbacks();
    if (FormEngine().releaseForms)
        FormEngine().releaseForms();
    RunExitRoutines();
    NotifyLibrariesOfShutdown();
    UnloadDllCommands();
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
