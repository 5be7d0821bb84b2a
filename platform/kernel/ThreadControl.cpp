#include "platform/kernel/ThreadControl.h"

#include "platform/kernel/ThreadApi.h"
#include "platform/kernel/ThreadStop.h"

namespace vellumry::kernel {
namespace {

// The owner keeps the control alive for the thread's whole life; the raw
// pointer is what the frequent checks read.
thread_local std::shared_ptr<ThreadControl> t_owner;
thread_local ThreadControl* t_current = nullptr;

}  // namespace

ThreadControl* ThreadControl::Current()
{
    return t_current;
}

std::shared_ptr<ThreadControl> ThreadControl::CurrentShared()
{
    return t_owner;
}

void ThreadControl::AdoptForCurrentThread(std::shared_ptr<ThreadControl> control)
{
    t_current = control.get();
    t_owner = std::move(control);
}

bool ThreadControl::RequestStop(DWORD exitCode)
{
    {
        std::lock_guard guard(m_lock);
        if (m_ended || m_stopClaimed)
            return false;
        m_stopClaimed = true;
        m_stopCode = exitCode;
    }
    {
        // A commit under way finishes first; every later one sees the mark.
        std::lock_guard commit(m_commitLock);
        m_stopRequested.store(true, std::memory_order_release);
    }
    {
        // Wake the stop-aware wait the thread is in. Taking its mutex orders
        // the mark before the waiter's next check: a waiter that has checked
        // and not yet slept still holds the mutex, so the notification
        // cannot fall between the two.
        std::lock_guard guard(m_lock);
        if (m_waitMutex) {
            { std::lock_guard waiter(*m_waitMutex); }
            m_waitCondition->notify_all();
        }
    }
    NotifyStopListeners();
    return true;
}

bool ThreadControl::Ended() const
{
    std::lock_guard guard(m_lock);
    return m_ended;
}

DWORD ThreadControl::ExitCode() const
{
    std::lock_guard guard(m_lock);
    return m_ended ? m_exitCode : STILL_ACTIVE;
}

bool ThreadControl::WaitForEnd(std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_lock);
    return m_endedSignal.wait_for(lock, limit, [this] { return m_ended; });
}

void ThreadControl::MarkEnded(DWORD routineResult)
{
    std::lock_guard guard(m_lock);
    m_exitCode = m_stopClaimed ? m_stopCode : routineResult;
    m_ended = true;
    m_endedSignal.notify_all();
}

void ThreadControl::EnterWait(std::mutex& mutex, std::condition_variable& condition)
{
    std::lock_guard guard(m_lock);
    m_waitMutex = &mutex;
    m_waitCondition = &condition;
}

void ThreadControl::LeaveWait()
{
    std::lock_guard guard(m_lock);
    m_waitMutex = nullptr;
    m_waitCondition = nullptr;
}

}  // namespace vellumry::kernel
