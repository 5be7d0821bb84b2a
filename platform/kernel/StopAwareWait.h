#pragma once

// A wait on a condition variable that the stop of the waiting worker ends.
// A worker waiting for another thread (for the window thread to run its call)
// must not sleep through its own stop: RequestStop wakes the wait, which then
// answers that the thread was stopped before the condition held.
//
// The registration with the thread's control is made before `mutex` is taken
// and removed after it is released, so the stopping thread, which takes the
// control's lock and then `mutex` to wake the waiter, cannot deadlock with
// it. On threads that CreateThread did not start this is a plain wait.

#include <condition_variable>
#include <mutex>

#include "platform/kernel/ThreadControl.h"

namespace vellumry::kernel {

enum class WaitOutcome { Done, Stopped };

// Waits until `done()` (called with `mutex` held) is true, or until the
// calling worker is told to stop. `done` is checked first: a condition that
// already holds wins over a stop.
template <typename Done>
WaitOutcome WaitUnlessStopped(std::mutex& mutex, std::condition_variable& condition, Done done)
{
    ThreadControl* self = ThreadControl::Current();
    if (!self) {
        std::unique_lock lock(mutex);
        condition.wait(lock, done);
        return WaitOutcome::Done;
    }
    struct Registration {
        ThreadControl& control;
        ~Registration() { control.LeaveWait(); }
    };
    self->EnterWait(mutex, condition);
    Registration registration{*self};
    std::unique_lock lock(mutex);
    while (!done()) {
        if (self->StopRequested())
            return WaitOutcome::Stopped;
        condition.wait(lock);
    }
    return WaitOutcome::Done;
}

}  // namespace vellumry::kernel
