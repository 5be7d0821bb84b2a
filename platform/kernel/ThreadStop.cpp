#include "platform/kernel/ThreadStop.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <vector>

#include "platform/kernel/ThreadControl.h"

namespace vellumry::kernel {
namespace {

struct Listeners {
    std::mutex lock;
    std::vector<StopListener> routines;
};

Listeners& TheListeners()
{
    static Listeners listeners;
    return listeners;
}

// How many StopPointsDeferred the thread holds.
thread_local int t_deferrals = 0;

}  // namespace

StopPointsDeferred::StopPointsDeferred()
{
    ++t_deferrals;
}

StopPointsDeferred::~StopPointsDeferred()
{
    --t_deferrals;
}

bool CurrentThreadStopRequested()
{
    ThreadControl* self = ThreadControl::Current();
    return self && self->StopRequested();
}

void ThrowIfStopRequested()
{
    if (t_deferrals == 0 && CurrentThreadStopRequested() && std::uncaught_exceptions() == 0)
        throw ThreadStopped{};
}

void AddStopListener(StopListener listener)
{
    if (!listener)
        return;
    Listeners& listeners = TheListeners();
    std::lock_guard guard(listeners.lock);
    if (std::find(listeners.routines.begin(), listeners.routines.end(), listener) == listeners.routines.end())
        listeners.routines.push_back(listener);
}

void NotifyStopListeners()
{
    std::vector<StopListener> routines;
    {
        Listeners& listeners = TheListeners();
        std::lock_guard guard(listeners.lock);
        routines = listeners.routines;
    }
    for (StopListener routine : routines)
        routine();
}

}  // namespace vellumry::kernel
