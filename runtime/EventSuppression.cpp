#include "runtime/EventSuppression.h"

#include <atomic>

namespace vellumry::runtime {
namespace {
std::atomic<int> g_level{0};
}

void RaiseEventSuppression()
{
    g_level.fetch_add(1);
}

void LowerEventSuppression()
{
    int level = g_level.load();
    while (level > 0 && !g_level.compare_exchange_weak(level, level - 1)) {
    }
}

bool EventsSuppressed()
{
    return g_level.load() > 0;
}

int EventSuppressionLevel()
{
    return g_level.load();
}

}  // namespace vellumry::runtime
