#pragma once

// The record of a call carried from another thread to the window thread.
//
// The caller's work, its result and any exception it throws are reached
// through a record that the caller and the window thread share, never
// through the caller's stack alone, and the record says at every moment
// whether the work is pending, running, done or dropped:
// - the window thread runs a pending call unless its caller is a worker that
//   has been told to stop (TerminateThread), in which case it drops it;
//   since the stop is made on the window thread, a call that had not started
//   when the stop returned never runs;
// - a caller told to stop while its call is pending drops the call itself
//   and unwinds at once; while its call is running it waits for the window
//   thread to finish it, which never waits for the caller;
// - a call whose delivery is lost (the application went away before running
//   it) is dropped, so its caller does not wait for ever;
// - an exception thrown by the work is carried back and rethrown in the
//   caller.
// Qt-free; the window thread side lives in WindowCall.cpp.

#include <memory>

namespace vellumry::ui {

class CarriedCall {
public:
    virtual ~CarriedCall() = default;
    // Window thread only; runs at most once.
    virtual void Run() = 0;
};

enum class CarryOutcome { Ran, Dropped };

// Any thread but the window thread: hands `call` over and waits until it has
// run or been dropped. A worker told to stop unwinds from here
// (ThreadStopped) unless it is already unwinding, in which case it gets
// Dropped. Rethrows what Run threw.
CarryOutcome CarryToWindowThread(std::shared_ptr<CarriedCall> call);

// The stop point every window call passes first: false for a worker told to
// stop that is already unwinding (the call must do nothing); throws
// ThreadStopped for one that is not; true otherwise.
bool MayCallWindow();

// Queues `call` for the window thread and returns at once; the window thread
// drops it when the posting worker has been told to stop by then.
void PostCallToWindowThread(std::shared_ptr<CarriedCall> call);

// Queues `call` for the window thread and returns at once, whoever posts it
// and whatever becomes of them.
void PostNoticeCallToWindowThread(std::shared_ptr<CarriedCall> call);

}  // namespace vellumry::ui
