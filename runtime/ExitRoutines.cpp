#include "runtime/ExitRoutines.h"

#include <algorithm>
#include <vector>

#include "platform/base/Guarded.h"

namespace vellumry::runtime {
namespace {

base::Guarded<std::vector<ExitRoutine>> g_routines;

}  // namespace

void RegisterExitRoutine(ExitRoutine routine)
{
    if (!routine)
        return;
    auto routines = g_routines.Lock();
    if (std::find(routines->begin(), routines->end(), routine) == routines->end())
        routines->push_back(routine);
}

void RunExitRoutines()
{
    std::vector<ExitRoutine> routines;
    g_routines.Lock()->swap(routines);
    for (size_t i = 0; i < routines.size(); ++i)
        routines[i](static_cast<std::int32_t>(i));
}

void ClearExitRoutines()
{
    g_routines.Lock()->clear();
}

}  // namespace vellumry::runtime
