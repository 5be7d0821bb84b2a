#pragma once

// Carrying work over to the window thread, for code that must not see Qt.
//
// Windows belong to the thread that runs the application object (the window
// thread). Code on any other thread that touches a window hands the work to
// the window thread and waits for it; code on the window thread itself, and
// all code while no application object exists (tools, tests without one),
// runs the work at once on the caller.
//
// Which thread may call what: RunOnWindowThread and PostToWindowThread from
// any thread; the work they carry runs on the window thread only.
//
// The deadlock rule: the window thread never blocks, without pumping, on
// anything a worker can hold: a worker's lock, a worker's end, or a call a
// worker is making. A worker calling over holds no lock the window thread
// may take, and its stop (TerminateThread, on the window thread) only marks
// it. The carried call lives in a shared record (WindowCall.h), so a worker
// stopped while its call waits leaves nothing the window thread could write
// into, and a stopped worker's pending and later calls do nothing.
//
// The implementation lives in platform/ui (WindowThread.cpp and
// WindowCall.cpp, on Qt); this header is plain C++.

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/ui/WindowCall.h"

namespace vellumry::ui {

// True on the window thread, and on every thread while no application
// object exists.
bool OnWindowThread();

// Runs `work` on the window thread and answers its result; a call a stop
// dropped answers a value-initialised result. `work` may capture the
// caller's locals by reference: it runs, if at all, before this returns.
template <typename Work>
std::invoke_result_t<Work&> RunOnWindowThread(Work&& work)
{
    using Result = std::invoke_result_t<Work&>;
    if (!MayCallWindow()) {
        if constexpr (std::is_void_v<Result>)
            return;
        else
            return Result{};
    }
    if (OnWindowThread())
        return work();
    using Body = std::remove_reference_t<Work>;
    struct Call final : CarriedCall {
        explicit Call(Body& body) : body(body) {}
        void Run() override
        {
            if constexpr (std::is_void_v<Result>)
                body();
            else
                result.emplace(body());
        }
        Body& body;
        std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
    };
    auto call = std::make_shared<Call>(work);
    bool ran = CarryToWindowThread(call) == CarryOutcome::Ran;
    if constexpr (!std::is_void_v<Result>) {
        if (ran && call->result)
            return std::move(*call->result);
        return Result{};
    } else {
        (void)ran;
    }
}

namespace detail {

// Work kept by value in a carried call, for the posting functions below.
template <typename Work>
std::shared_ptr<CarriedCall> KeptCall(Work&& work)
{
    using Body = std::decay_t<Work>;
    struct Call final : CarriedCall {
        explicit Call(Body body) : body(std::move(body)) {}
        void Run() override { body(); }
        Body body;
    };
    return std::make_shared<Call>(std::forward<Work>(work));
}

}  // namespace detail

// Queues work for the window thread and returns at once; without an
// application object the work is dropped. Posted by a worker, the work is
// dropped once that worker has been told to stop.
template <typename Work>
void PostToWindowThread(Work&& work)
{
    PostCallToWindowThread(detail::KeptCall(std::forward<Work>(work)));
}

// Queues work for the window thread that runs even when the posting worker
// has been told to stop since: for telling the window of a change that has
// already been made (the change itself obeys the stop). Without an
// application object the work is dropped.
template <typename Work>
void PostNoticeToWindowThread(Work&& work)
{
    PostNoticeCallToWindowThread(detail::KeptCall(std::forward<Work>(work)));
}

}  // namespace vellumry::ui
