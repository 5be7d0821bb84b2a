#include "app/WorkerThreads.h"

#include <vector>

#include "app/description/DllCommandTable.h"
#include "platform/base/Guarded.h"
#include "platform/kernel/ThreadApi.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::app {
namespace {

// Every worker started and not seen ended. Only the window thread starts and
// stops workers, but the list is guarded so that no caller can tear it.
base::Guarded<std::vector<std::int32_t>>& StartedWorkers()
{
    static base::Guarded<std::vector<std::int32_t>> workers;
    return workers;
}

HANDLE AsHandle(std::int32_t thread)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(thread));
}

DWORD ExitCodeOf(std::int32_t thread)
{
    DWORD exitCode = 0;
    runtime::CallDllCommand<BOOL(HANDLE, LPDWORD)>(kGetExitCodeThread, kGetExitCodeThread, 0, AsHandle(thread),
                                                   &exitCode);
    return exitCode;
}

}  // namespace

std::int32_t StartWorker(WorkerRoutine startRoutine, std::int32_t parameter, std::int32_t& threadId)
{
    DWORD id = 0;
    HANDLE handle = runtime::CallDllCommand<HANDLE(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                                   DWORD, LPDWORD)>(
        kCreateThread, kCreateThread, 0, nullptr, SIZE_T{0}, startRoutine,
        reinterpret_cast<LPVOID>(static_cast<std::intptr_t>(parameter)), DWORD{0}, &id);
    threadId = static_cast<std::int32_t>(id);
    const auto thread = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(handle));
    if (thread == 0)
        return 0;
    // Ended workers need no stop: they are forgotten here, so the list holds
    // only the workers that may still run. Reading an exit code waits for
    // nothing, so it may run under the list's lock.
    auto workers = StartedWorkers().Lock();
    std::erase_if(*workers, [](std::int32_t earlier) { return ExitCodeOf(earlier) != STILL_ACTIVE; });
    workers->push_back(thread);
    return thread;
}

void StopWorker(std::int32_t thread)
{
    DWORD exitCode = ExitCodeOf(thread);
    runtime::CallDllCommand<BOOL(HANDLE, DWORD)>(kTerminateThread, kTerminateThread, 0, AsHandle(thread), exitCode);
}

void StopAllWorkers()
{
    std::vector<std::int32_t> workers = std::move(*StartedWorkers().Lock());
    for (std::int32_t thread : workers)
        StopWorker(thread);
}

std::size_t RememberedWorkerCount()
{
    return StartedWorkers().Lock()->size();
}

}  // namespace vellumry::app
