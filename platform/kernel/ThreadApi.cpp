// CreateThread, GetExitCodeThread and TerminateThread as documented for
// kernel32 (handles, exit codes, STILL_ACTIVE, last errors), with the stop
// made cooperative (ThreadControl.h).

#include "platform/kernel/ThreadApi.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/kernel/ThreadStop.h"

namespace vellumry::kernel {
namespace {

constexpr auto kWaitSlice = std::chrono::milliseconds(5);

class ThreadObject final : public KernelObject {
public:
    explicit ThreadObject(std::shared_ptr<ThreadControl> control) : m_control(std::move(control)) {}
    ThreadControl& Control() const { return *m_control; }

private:
    std::shared_ptr<ThreadControl> m_control;
};

// The workers that have not ended.
class LiveWorkers {
public:
    static LiveWorkers& Instance()
    {
        static LiveWorkers workers;
        return workers;
    }

    void Add(std::shared_ptr<ThreadControl> control)
    {
        std::lock_guard guard(m_lock);
        m_controls.push_back(std::move(control));
    }

    void Remove(const ThreadControl* control)
    {
        std::lock_guard guard(m_lock);
        std::erase_if(m_controls, [&](const auto& entry) { return entry.get() == control; });
    }

    std::vector<std::shared_ptr<ThreadControl>> Snapshot()
    {
        std::lock_guard guard(m_lock);
        return m_controls;
    }

private:
    std::mutex m_lock;
    std::vector<std::shared_ptr<ThreadControl>> m_controls;
};

// Ends the worker after everything else the thread keeps per thread has been
// destroyed: a thread-local made before all others is destroyed after them,
// so once the end is marked the thread runs none of our code any more.
struct WorkerEnd {
    std::shared_ptr<ThreadControl> control;
    DWORD result = 0;

    ~WorkerEnd()
    {
        if (!control)
            return;
        LiveWorkers::Instance().Remove(control.get());
        control->MarkEnded(result);
    }
};

thread_local WorkerEnd t_end;

// What the creating thread hands the new one, and the new thread's
// identifier handed back.
struct StartBlock {
    LPTHREAD_START_ROUTINE routine = nullptr;
    LPVOID parameter = nullptr;
    std::shared_ptr<ThreadControl> control;
    std::mutex lock;
    std::condition_variable started;
    bool ready = false;
    DWORD threadId = 0;
};

DWORD CurrentThreadIdentifier()
{
    return static_cast<DWORD>(syscall(SYS_gettid));
}

// The start routine of every worker. `argument` is a heap-held reference to
// the start block, handed over by CreateThread.
void* RunWorker(void* argument) noexcept
{
    std::shared_ptr<StartBlock> start;
    {
        std::unique_ptr<std::shared_ptr<StartBlock>> handedOver(static_cast<std::shared_ptr<StartBlock>*>(argument));
        start = std::move(*handedOver);
    }
    t_end.control = start->control;  // first: destroyed last
    ThreadControl::AdoptForCurrentThread(start->control);
    LPTHREAD_START_ROUTINE routine = start->routine;
    LPVOID parameter = start->parameter;
    {
        std::lock_guard guard(start->lock);
        start->threadId = CurrentThreadIdentifier();
        start->ready = true;
        start->started.notify_all();
    }
    start.reset();
    try {
        t_end.result = routine(parameter);
    } catch (const ThreadStopped&) {
        // The stop's exit code is kept by the control.
    }
    return nullptr;
}

// The stack the thread gets: without the reservation flag the size is what
// Windows commits at first, inside a reservation of at least the default.
bool SetStackSize(pthread_attr_t& attributes, SIZE_T stackSize, DWORD flags)
{
    if (stackSize == 0)
        return true;
    std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    if (stackSize > std::numeric_limits<std::size_t>::max() - page)
        return false;
    std::size_t size = (stackSize + page - 1) / page * page;
    size = std::max<std::size_t>(size, PTHREAD_STACK_MIN);
    if (!(flags & STACK_SIZE_PARAM_IS_A_RESERVATION)) {
        std::size_t standard = 0;
        pthread_attr_getstacksize(&attributes, &standard);
        size = std::max(size, standard);
    }
    return pthread_attr_setstacksize(&attributes, size) == 0;
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle)
{
    auto thread = LookupHandleAs<ThreadObject>(handle);
    if (!thread)
        SetLastError(ERROR_INVALID_HANDLE);
    return thread;
}

}  // namespace

bool WaitForThreadEnd(HANDLE thread, std::chrono::milliseconds limit)
{
    auto object = LookupHandleAs<ThreadObject>(thread);
    return object && object->Control().WaitForEnd(limit);
}

std::size_t LiveWorkerCount()
{
    return LiveWorkers::Instance().Snapshot().size();
}

void StopAllWorkers(DWORD exitCode)
{
    for (const auto& control : LiveWorkers::Instance().Snapshot())
        control->RequestStop(exitCode);
}

bool WaitForWorkersToEnd(std::chrono::milliseconds limit, void (*betweenSlices)())
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto workers = LiveWorkers::Instance().Snapshot();
        if (workers.empty())
            return true;
        std::erase_if(workers, [](const auto& control) { return control->WaitsForServedCall(); });
        if (workers.empty())
            return false;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        auto slice = std::min<std::chrono::steady_clock::duration>(kWaitSlice, deadline - now);
        workers.front()->WaitForEnd(std::chrono::duration_cast<std::chrono::milliseconds>(slice));
        if (betweenSlices)
            betweenSlices();
    }
}

}  // namespace vellumry::kernel

using namespace vellumry::kernel;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE startAddress, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId)
{
    if (!startAddress || (creationFlags & ~STACK_SIZE_PARAM_IS_A_RESERVATION) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    struct AttributeScope {
        pthread_attr_t& attributes;
        ~AttributeScope() { pthread_attr_destroy(&attributes); }
    } attributeScope{attributes};
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (!SetStackSize(attributes, stackSize, creationFlags)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }

    auto control = std::make_shared<ThreadControl>();
    auto start = std::make_shared<StartBlock>();
    start->routine = startAddress;
    start->parameter = parameter;
    start->control = control;

    LiveWorkers::Instance().Add(control);
    auto handedOver = std::make_unique<std::shared_ptr<StartBlock>>(start);
    pthread_t thread;
    if (pthread_create(&thread, &attributes, RunWorker, handedOver.get()) != 0) {
        LiveWorkers::Instance().Remove(control.get());
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    handedOver.release();  // the new thread owns it now
    std::unique_lock lock(start->lock);
    start->started.wait(lock, [&] { return start->ready; });
    if (threadId)
        *threadId = start->threadId;
    return InsertHandle(std::make_shared<ThreadObject>(std::move(control)));
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode)
{
    auto object = ThreadOf(thread);
    if (!object)
        return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *exitCode = object->Control().ExitCode();
    return TRUE;
}

BOOL TerminateThread(HANDLE thread, DWORD exitCode)
{
    auto object = ThreadOf(thread);
    if (!object)
        return FALSE;
    ThreadControl& control = object->Control();
    control.RequestStop(exitCode);
    if (&control == ThreadControl::Current())
        ThrowIfStopRequested();
    return TRUE;
}
