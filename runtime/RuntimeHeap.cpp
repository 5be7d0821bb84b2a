#include "runtime/RuntimeHeap.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::runtime {
namespace {

std::atomic<std::uintptr_t> g_staticStart{0};
std::atomic<std::uintptr_t> g_staticEnd{0};
std::atomic<AllocationFailureInjector> g_injector{nullptr};

bool MayAllocate(std::int32_t size)
{
    if (size < 0 || size > kMaxBlockSize)
        return false;
    AllocationFailureInjector injector = g_injector.load(std::memory_order_relaxed);
    return !(injector && injector(size));
}

// The system heap hands out a real block for a size of 0; malloc may not.
std::size_t HostSize(std::int32_t size)
{
    return size == 0 ? 1 : static_cast<std::size_t>(size);
}

}  // namespace

void ReportAllocationFailure(std::int64_t size)
{
    auto shown = static_cast<int>(std::clamp<std::int64_t>(size, INT_MIN, INT_MAX));
    char message[128];
    std::snprintf(message, sizeof message, texts::kAllocationFailed, shown);
    ReportError(message, 0, 0, 0);
}

void* RawAlloc(std::int32_t size)
{
    return MayAllocate(size) ? std::malloc(HostSize(size)) : nullptr;
}

void* RuntimeAlloc(std::int32_t size)
{
    void* block = RawAlloc(size);
    if (!block)
        ReportAllocationFailure(size);
    return block;
}

void* RuntimeRealloc(void* block, std::int32_t size)
{
    if (!block)
        return RuntimeAlloc(size);
    if (IsStaticData(block)) {
        void* copy = RuntimeAlloc(size);
        std::memcpy(copy, block, std::min(static_cast<std::size_t>(size), StaticBytesFrom(block)));
        return copy;
    }
    void* resized = MayAllocate(size) ? std::realloc(block, HostSize(size)) : nullptr;
    if (!resized)
        ReportAllocationFailure(size);
    return resized;
}

void RuntimeFree(void* block)
{
    if (block && !IsStaticData(block))
        std::free(block);
}

void SetStaticDataBlock(const void* start, std::size_t size)
{
    auto begin = reinterpret_cast<std::uintptr_t>(start);
    g_staticStart.store(begin);
    g_staticEnd.store(begin + size);
}

void ClearStaticDataBlock()
{
    g_staticStart.store(0);
    g_staticEnd.store(0);
}

bool IsStaticData(const void* pointer)
{
    auto p = reinterpret_cast<std::uintptr_t>(pointer);
    return p != 0 && p >= g_staticStart.load() && p < g_staticEnd.load();
}

std::size_t StaticBytesFrom(const void* pointer)
{
    return IsStaticData(pointer) ? g_staticEnd.load() - reinterpret_cast<std::uintptr_t>(pointer) : 0;
}

void SetAllocationFailureInjector(AllocationFailureInjector injector)
{
    g_injector.store(injector);
}

}  // namespace vellumry::runtime
