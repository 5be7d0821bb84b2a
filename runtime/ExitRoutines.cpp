#include "runtime/ExitRoutines.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace vellumry::runtime {
namespace {

std::mutex g_lock;
std::vector<ExitRoutine> g_routines;

}  // namespace

void RegisterExitRoutine(ExitRoutine routine)
{
    if (!routine)
        return;
    std::lock_guard guard(g_lock);
    if (std::find(g_routines.begin(), g_routines.end(), routine) == g_routines.end())
        g_routines.push_back(routine);
}

void RunExitRoutines()
{
    std::vector<ExitRoutine> routines;
    {
        std::lock_guard guard(g_lock);
        routines.swap(g_routines);
    }
    for (size_t i = 0; i < routines.size(); ++i)
        routines[i](static_cast<std::int32_t>(i));
}

void ClearExitRoutines()
{
    std::lock_guard guard(g_lock);
    g_routines.clear();
}

}  // namespace vellumry::runtime
