#include "runtime/IdleCallbacks.h"

#include "platform/ui/UiApplication.h"

#include <algorithm>
#include <vector>

#include "platform/ui/WinUser.h"

namespace vellumry::runtime {
namespace {

struct IdleCallback {
    HWND window;
    IdleRoutine routine;
    std::intptr_t argument;
};

std::vector<IdleCallback> g_callbacks;

}  // namespace

void AddIdleCallback(HWND window, IdleRoutine routine, std::intptr_t argument)
{
    if (!routine)
        return;
    if (std::any_of(g_callbacks.begin(), g_callbacks.end(), [&](const IdleCallback& c) { return c.window == window; }))
        return;
    g_callbacks.push_back({window, routine, argument});
}

void RemoveIdleCallback(HWND window)
{
    std::erase_if(g_callbacks, [&](const IdleCallback& c) { return c.window == window; });
}

void ClearIdleCallbacks()
{
    g_callbacks.clear();
}

void RunIdleCallbacks()
{
    // A routine may add or remove callbacks; walk a snapshot.
    std::vector<IdleCallback> snapshot = g_callbacks;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (!IsWindow(it->window)) {
            RemoveIdleCallback(it->window);
            continue;
        }
        it->routine(it->argument);
    }
}

bool IdleStep(ui::UiApplication& app, long count)
{
    RunIdleCallbacks();
    return app.OnIdle(count);
}

}  // namespace vellumry::runtime
