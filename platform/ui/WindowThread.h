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
// any thread; the work they carry runs on the window thread only. The work is
// run while the caller waits, so it may use the caller's locals by reference.
//
// The implementation lives in platform/ui (WindowThread.cpp, on Qt); this
// header is plain C++.

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace vellumry::ui {

// True on the window thread, and on every thread while no application
// object exists.
bool OnWindowThread();

namespace detail {
// Runs call(context) on the window thread and returns when it has run.
void RunBlocking(void (*call)(void* context), void* context);
}  // namespace detail

// Runs `work` on the window thread, waits for it and returns its result.
template <typename Work>
std::invoke_result_t<Work&> RunOnWindowThread(Work&& work)
{
    using Result = std::invoke_result_t<Work&>;
    if (OnWindowThread())
        return work();
    if constexpr (std::is_void_v<Result>) {
        detail::RunBlocking([](void* context) { (*static_cast<std::remove_reference_t<Work>*>(context))(); },
                            &work);
    } else {
        std::optional<Result> result;
        auto call = [&] { result.emplace(work()); };
        detail::RunBlocking([](void* context) { (*static_cast<decltype(call)*>(context))(); }, &call);
        return std::move(*result);
    }
}

// Queues `work` for the window thread and returns at once; without an
// application object the work is dropped.
void PostToWindowThread(std::function<void()> work);

}  // namespace vellumry::ui
