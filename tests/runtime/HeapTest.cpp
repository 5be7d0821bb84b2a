#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::runtime;
using vellumry::test::kErrorExit;
using vellumry::test::ReportsMessage;

TEST(RuntimeHeap, AllocReallocFreeKeepContents)
{
    auto* block = static_cast<char*>(RuntimeAlloc(4));
    std::memcpy(block, "abc", 4);
    block = static_cast<char*>(RuntimeRealloc(block, 1 << 20));
    EXPECT_STREQ(block, "abc");
    block = static_cast<char*>(RuntimeRealloc(block, 2));
    EXPECT_EQ(std::memcmp(block, "ab", 2), 0);
    RuntimeFree(block);

    void* empty = RuntimeAlloc(0);  // a real block, as the system heap gives
    EXPECT_NE(empty, nullptr);
    RuntimeFree(empty);
    void* fromNull = RuntimeRealloc(nullptr, 16);
    EXPECT_NE(fromNull, nullptr);
    RuntimeFree(fromNull);
    RuntimeFree(nullptr);  // no-op
}

TEST(RuntimeHeap, RawAllocMayReturnNullInsteadOfReporting)
{
    EXPECT_EQ(RawAlloc(-1), nullptr);
    EXPECT_EQ(RawAlloc(kMaxBlockSize + 1), nullptr);
    void* ok = RawAlloc(10);
    EXPECT_NE(ok, nullptr);
    RuntimeFree(ok);
}

TEST(RuntimeHeapDeath, NegativeAndHugeSizesReportTheAllocationFailure)
{
    EXPECT_EXIT(RuntimeAlloc(-5), ::testing::ExitedWithCode(kErrorExit), ReportsMessage("分配 -5 字节内存失败!"));
    EXPECT_EXIT(RuntimeAlloc(kMaxBlockSize + 1), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 1073741825 字节内存失败!"));
    EXPECT_EXIT(
        {
            void* p = RuntimeAlloc(8);
            RuntimeRealloc(p, -1);
        },
        ::testing::ExitedWithCode(kErrorExit), ReportsMessage("分配 -1 字节内存失败!"));
}

// Fails every allocation from the moment it is armed, so that each value
// helper's single allocation is seen to go through the reporting path.
bool FailEverything(std::int32_t)
{
    return true;
}

TEST(RuntimeHeapDeath, InjectedFailuresReachTheReporterFromEveryAllocatingHelper)
{
    auto armed = [](auto operation) {
        SetAllocationFailureInjector(FailEverything);
        operation();
    };
    const char* pieces[] = {"ab", "cd"};
    EXPECT_EXIT(armed([&] { ConcatTexts(pieces); }), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 5 字节内存失败!"));
    EXPECT_EXIT(armed([] { MakeText("xyz"); }), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 4 字节内存失败!"));
    EXPECT_EXIT(armed([] { MakeArray(3, 8); }), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 32 字节内存失败!"));
    std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_EXIT(armed([&] { MakeByteSet(bytes); }), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 11 字节内存失败!"));
}

TEST(RuntimeHeapDeath, ConcatenationBeyondThe32BitRangeIsAnAllocationFailure)
{
    // Headers that claim nearly 2 GiB each: the total is checked before any
    // byte is read or any block allocated.
    alignas(4) static const std::uint8_t huge[8] = {1, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0x7F};
    EXPECT_EXIT(ConcatByteSets({huge, huge}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 2147483647 字节内存失败!"));
}

}  // namespace
