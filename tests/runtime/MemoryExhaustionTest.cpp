// A runtime error raised when memory is truly gone: the runtime heap fails
// (the failure injector) and so does every other allocation of the process
// (the operators below), except out of memory freed while it is gone, as a
// heap that has just been given blocks back would hand them out again. The
// report must still come out whole, followed by exit code -1.
//
// This file replaces the global allocation operators, so it is a test
// program of its own.

#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "runtime/RuntimeHeap.h"
#include "tests/support/ReportExpectations.h"

namespace {

std::atomic<bool> g_exhausted{false};
// Bytes freed since memory ran out: what a real heap could hand out again.
std::atomic<std::size_t> g_freedSince{0};

void* Allocate(std::size_t size)
{
    if (g_exhausted.load()) {
        std::size_t available = g_freedSince.load();
        while (true) {
            if (size > available)
                return nullptr;
            if (g_freedSince.compare_exchange_weak(available, available - size))
                break;
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

void Release(void* block)
{
    if (!block)
        return;
    if (g_exhausted.load())
        g_freedSince.fetch_add(malloc_usable_size(block));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    Release(block);
}

void operator delete[](void* block) noexcept
{
    Release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

namespace {

using namespace vellumry::runtime;

TEST(MemoryExhaustionDeath, TheReportComesOutWhenNothingIsLeft)
{
    EXPECT_EXIT(
        {
            SetAllocationFailureInjector([](std::int32_t) { return true; });
            g_exhausted.store(true);
            RuntimeAlloc(100);
        },
        ::testing::ExitedWithCode(vellumry::test::kErrorExit),
        vellumry::test::ReportsMessage("分配 100 字节内存失败!"));
}

}  // namespace
