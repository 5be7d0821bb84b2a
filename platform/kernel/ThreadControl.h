#pragma once

// What a worker thread shares with the threads that stop it or wait for it:
// its stop mark, its exit code and its end.
//
// Stopping is cooperative. TerminateThread does not cut a worker off where it
// stands (it could be holding the heap's lock, a window table lock or a
// half-built value); it marks the worker, and from then on the worker's calls
// that would have a visible effect refuse to act: window calls are dropped,
// transfers abort, file commits are refused. The worker's next call into the
// runtime unwinds it (ThrowIfStopRequested, ThreadStopped.h), releasing what
// it holds on the way out, and the thread ends by itself.
//
// Two things make "no effect after the stop returned" hold:
// - every visible change of the window runs on the window thread, which is
//   also where the stop is requested, so a worker's call that has not started
//   when the mark is set checks the mark there and never runs;
// - a file commit (the rename of a finished download), and a worker's
//   change of a report list's shared rows, runs under the worker's commit
//   lock, which RequestStop takes to set the mark: a commit under way
//   finishes first, a later one sees the mark.
//
// The commit lock is held only around the commit itself (a rename), never
// across anything that waits for the window thread, so the stopping thread
// never waits for a worker that waits for it.
//
// Any thread may call any member; each says what it waits for.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/base/WinTypes.h"

namespace vellumry::kernel {

class ThreadControl {
public:
    ThreadControl() = default;
    ThreadControl(const ThreadControl&) = delete;
    ThreadControl& operator=(const ThreadControl&) = delete;

    // The control of the calling thread; null on threads that CreateThread
    // did not start (the window thread, sound feeders, test mains).
    static ThreadControl* Current();
    // The same, shared: for a record that may outlive the calling thread.
    static std::shared_ptr<ThreadControl> CurrentShared();

    bool StopRequested() const { return m_stopRequested.load(std::memory_order_acquire); }

    // Marks the thread stopped with the exit code it ends with, wakes a
    // stop-aware wait it is in and returns. Waits only for a file commit
    // under way. False when the thread had ended or was already marked
    // (the first code stays).
    bool RequestStop(DWORD exitCode);

    // True once the thread's routine has returned or unwound.
    bool Ended() const;
    // The exit code once ended (a stopped thread's is its stop code), else
    // STILL_ACTIVE.
    DWORD ExitCode() const;
    // Waits until the thread has ended or `limit` has passed; true when ended.
    bool WaitForEnd(std::chrono::milliseconds limit) const;

    // Called once by the thread itself when its routine is done.
    void MarkEnded(DWORD routineResult);

    // Counted by the window thread while it runs a call this thread waits
    // for (WindowCall.cpp): until that call returns the thread cannot end,
    // so whoever waits for workers on the window thread must not wait for it.
    void BeginServedCall() { m_servedCalls.fetch_add(1, std::memory_order_acq_rel); }
    void EndServedCall() { m_servedCalls.fetch_sub(1, std::memory_order_acq_rel); }
    bool WaitsForServedCall() const { return m_servedCalls.load(std::memory_order_acquire) > 0; }

    // Held for the duration of a file commit (FileCommitGuard.h).
    std::mutex& CommitLock() { return m_commitLock; }

    // The stop-aware wait the thread is in now (StopAwareWait.h): RequestStop
    // wakes it through this mutex and condition. Set and cleared by the
    // thread itself, never while it holds `mutex`.
    void EnterWait(std::mutex& mutex, std::condition_variable& condition);
    void LeaveWait();

    // Makes `control` the calling thread's control for the life of the
    // thread (CreateThread's start routine does this first).
    static void AdoptForCurrentThread(std::shared_ptr<ThreadControl> control);

private:
    std::atomic<bool> m_stopRequested{false};
    std::atomic<int> m_servedCalls{0};
    std::mutex m_commitLock;

    mutable std::mutex m_lock;  // guards everything below
    mutable std::condition_variable m_endedSignal;
    bool m_ended = false;
    bool m_stopClaimed = false;  // a stop was requested before the end
    DWORD m_exitCode = 0;
    DWORD m_stopCode = 0;
    std::mutex* m_waitMutex = nullptr;
    std::condition_variable* m_waitCondition = nullptr;
};

}  // namespace vellumry::kernel
