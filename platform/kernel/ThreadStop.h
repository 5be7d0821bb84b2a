#pragma once

// Asking whether the calling thread has been told to stop, and unwinding it.
//
// A stopped worker unwinds by the exception ThreadStopped, thrown from the
// runtime's stop points (its window calls, and code that checks at the head
// of a loop) and caught by the thread's start routine, which then ends the
// thread with the stop's exit code. The unwinding runs the destructors on the
// way, so a worker whose values, locks, request handles and component-model
// scopes are held by owners (RAII) leaves nothing behind.
//
// Rules for code that runs on workers:
// - ThreadStopped is not a std::exception, so `catch (const std::exception&)`
//   lets it pass; a `catch (...)` must rethrow it.
// - A stop point throws only when the thread is not already unwinding, but
//   it cannot tell a destructor on the normal path from other code: a
//   destructor must not make window calls, and one that releases values or
//   objects or calls DLL commands through the runtime holds a
//   StopPointsDeferred while it does.
//
// Any thread; on threads that CreateThread did not start nothing is ever
// stopped.

namespace vellumry::kernel {

// The unwinding of a stopped worker. Carries nothing: the exit code is kept
// by the thread's control.
struct ThreadStopped final {};

// True when the calling thread is a worker that has been told to stop. Cheap
// enough to poll from a transfer's progress callback; its shape is that of
// the transfers' abort predicate.
bool CurrentThreadStopRequested();

// Throws ThreadStopped when the calling thread has been told to stop, unless
// it is already unwinding.
void ThrowIfStopRequested();

// While one lives, the calling thread's stop points do not throw. For
// destructors and deleters, which release what they hold through runtime
// calls and must not throw on the normal path: without it a stop marked just
// before such a destructor would throw out of it and end the program. The
// stop stays marked; the first stop point after the last deferral ends
// unwinds the thread. Nests.
class StopPointsDeferred {
public:
    StopPointsDeferred();
    ~StopPointsDeferred();
    StopPointsDeferred(const StopPointsDeferred&) = delete;
    StopPointsDeferred& operator=(const StopPointsDeferred&) = delete;
};

// Routines told, on the stopping thread, right after a worker was marked:
// whatever a worker may be waiting on outside the stop-aware waits (the
// transfers' network waits) is woken so that it re-checks at once. Added
// once at start-up; a listener must not block.
using StopListener = void (*)();
void AddStopListener(StopListener listener);
void NotifyStopListeners();

}  // namespace vellumry::kernel
