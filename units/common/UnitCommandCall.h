#pragma once

// What the units' library commands share: reading their arguments and
// running their work on the unit.
//
// A command's argument 0 names the unit by `FormId` (first word) and
// `UnitId` (second word). The work runs on the window thread as one carried
// call (platform/ui/WindowThreadCalls.h): the unit is resolved there and
// acted on in the same call, so a unit destroyed meanwhile is never touched,
// and a worker stopped before its call ran changes nothing. A unit that does
// not exist is the runtime's "指定窗口或窗口组件不存在或尚未载入" (HostNotify
// 2007); a unit of another type answers the default result.
//
// Any thread; `work` runs on the window thread.
//
// Only work that answers nothing may be queued (OnUnitLater below): the
// answering commands wait for their call, so a worker keeps at most the few
// calls it made since its last answer in the queue ahead of the window
// thread. (A worker's calls on a report list act on the list's shared rows
// instead: ListViewCommands.h.)

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/ui/WindowThreadCalls.h"
#include "runtime/TypedValue.h"
#include "runtime/Values.h"
#include "units/common/UnitHost.h"

namespace vellumry::units {

// Argument `index`, when it was given (an optional argument left out travels
// with tag 0).
inline std::optional<std::int32_t> IntArgument(std::int32_t count, const runtime::TypedValue* arguments,
                                               std::int32_t index)
{
    if (index >= count || arguments[index].tag == runtime::kNoType)
        return std::nullopt;
    return arguments[index].Int();
}

// A text argument; left out or null is the empty text.
inline std::string_view TextArgument(std::int32_t count, const runtime::TypedValue* arguments, std::int32_t index)
{
    if (index >= count || arguments[index].tag == runtime::kNoType)
        return {};
    return runtime::TextView(arguments[index].Pointer<const char>());
}

template <typename Unit, typename Work>
auto OnUnit(std::int32_t count, const runtime::TypedValue* arguments, Work&& work)
{
    using Result = std::invoke_result_t<Work&, Unit&>;
    forms::FormId formId = count >= 1 ? arguments[0].low : 0;
    forms::UnitId unitId = count >= 1 ? arguments[0].high : 0;
    return ui::RunOnWindowThread([&]() -> Result {
        auto* unit = dynamic_cast<Unit*>(host::ResolveUnitOrReport(formId, unitId));
        if constexpr (std::is_void_v<Result>) {
            if (unit)
                work(*unit);
        } else {
            return unit ? work(*unit) : Result{};
        }
    });
}

namespace detail {

// Calls queued by OnUnitLater and not yet run or dropped, for all units.
inline std::atomic<int>& QueuedUnitCalls()
{
    static std::atomic<int> count{0};
    return count;
}

// Counts one queued call for as long as the call's record holds it.
class QueuedUnitCall {
public:
    QueuedUnitCall() { QueuedUnitCalls().fetch_add(1, std::memory_order_relaxed); }
    QueuedUnitCall(QueuedUnitCall&& other) noexcept : m_counts(std::exchange(other.m_counts, false)) {}
    QueuedUnitCall(const QueuedUnitCall&) = delete;
    QueuedUnitCall& operator=(const QueuedUnitCall&) = delete;
    QueuedUnitCall& operator=(QueuedUnitCall&&) = delete;
    ~QueuedUnitCall()
    {
        if (m_counts)
            QueuedUnitCalls().fetch_sub(1, std::memory_order_relaxed);
    }

private:
    bool m_counts = true;
};

// Beyond this many, a queuing call waits for its turn instead, so that a
// worker that only ever queues cannot fill memory or hold the window thread
// in one long run of queued work.
inline constexpr int kMostQueuedUnitCalls = 256;

}  // namespace detail

// For commands that answer nothing: on the window thread (and with no
// application object) the work runs at once; from a worker it is queued and
// the worker goes on without waiting. The queue keeps the order of each
// worker's calls, so a later call of the same worker (a read, say) finds the
// work done; work queued by a worker that has been told to stop is dropped
// on the window thread, so it has no effect after the stop returned. `work`
// is kept by value and must own what it uses.
template <typename Unit, typename Work>
void OnUnitLater(std::int32_t count, const runtime::TypedValue* arguments, Work work)
{
    forms::FormId formId = count >= 1 ? arguments[0].low : 0;
    forms::UnitId unitId = count >= 1 ? arguments[0].high : 0;
    auto run = [formId, unitId, work = std::move(work)]() mutable {
        if (auto* unit = dynamic_cast<Unit*>(host::ResolveUnitOrReport(formId, unitId)))
            work(*unit);
    };
    if (ui::OnWindowThread()) {
        if (ui::MayCallWindow())
            run();
        return;
    }
    if (detail::QueuedUnitCalls().load(std::memory_order_relaxed) >= detail::kMostQueuedUnitCalls) {
        ui::RunOnWindowThread(run);
        return;
    }
    ui::PostToWindowThread([run = std::move(run), counted = detail::QueuedUnitCall()]() mutable { run(); });
}

}  // namespace vellumry::units
