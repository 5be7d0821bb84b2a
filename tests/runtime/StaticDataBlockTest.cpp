#include <gtest/gtest.h>

#include <cstring>

#include "runtime/HeapOwner.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "tests/runtime/TestStaticTexts.h"
#include "tests/support/GbkText.h"

namespace {

using namespace vellumry::runtime;
namespace st = vellumry::test::statictexts;

class StaticDataBlock : public ::testing::Test {
protected:
    void SetUp() override { SetStaticDataBlock(st::kTestStaticDataStart(), st::kTestStaticDataSize); }
    void TearDown() override { ClearStaticDataBlock(); }
};

TEST_F(StaticDataBlock, GeneratedConstantsAreGbkAndContiguous)
{
    EXPECT_EQ(static_cast<const void*>(st::kTestStaticData.kEmptyText), st::kTestStaticDataStart());
    EXPECT_STREQ(st::kTestStaticData.kEmptyText, "");
    EXPECT_EQ(std::string(st::kTestStaticData.kGreeting), vellumry::test::Gbk("你好, world"));
    for (const void* p : {static_cast<const void*>(st::kTestStaticData.kGreeting),
                          static_cast<const void*>(st::kTestStaticData.kFourBytes),
                          static_cast<const void*>(st::kTestStaticData.kTail)})
        EXPECT_TRUE(IsStaticData(p));
    // A byte-set constant: dimension count 1, length, the bytes.
    const char* bytes = st::kTestStaticData.kFourBytes;
    EXPECT_EQ(LoadWord(bytes), 1);
    EXPECT_EQ(ByteSetSize(bytes), 4);
    EXPECT_EQ(ByteSetBytes(bytes)[3], 4);
}

TEST_F(StaticDataBlock, ConstantsAreNeverFreed)
{
    RuntimeFree(const_cast<char*>(st::kTestStaticData.kEmptyText));
    RuntimeFree(const_cast<char*>(st::kTestStaticData.kGreeting));
    EXPECT_EQ(std::string(st::kTestStaticData.kGreeting), vellumry::test::Gbk("你好, world"));
    OwnedText owner(const_cast<char*>(st::kTestStaticData.kTail));  // freeing through an owner is a no-op too
}

TEST_F(StaticDataBlock, ReallocOfAConstantCopiesUpToTheEndOfTheBlock)
{
    char* tail = const_cast<char*>(st::kTestStaticData.kTail);
    std::size_t available = StaticBytesFrom(tail);
    ASSERT_GE(available, 4u);
    ASSERT_LT(available, 64u);
    auto* grown = static_cast<char*>(RuntimeRealloc(tail, 4096));
    EXPECT_NE(grown, tail);
    EXPECT_EQ(std::memcmp(grown, tail, available), 0);
    EXPECT_STREQ(st::kTestStaticData.kTail, "end");
    RuntimeFree(grown);

    auto* shrunk = static_cast<char*>(RuntimeRealloc(const_cast<char*>(st::kTestStaticData.kGreeting), 2));
    EXPECT_EQ(std::memcmp(shrunk, st::kTestStaticData.kGreeting, 2), 0);
    RuntimeFree(shrunk);
}

TEST_F(StaticDataBlock, ClearedRangeMakesNothingConstant)
{
    ClearStaticDataBlock();
    EXPECT_FALSE(IsStaticData(st::kTestStaticData.kGreeting));
    EXPECT_EQ(StaticBytesFrom(st::kTestStaticData.kGreeting), 0u);
}

}  // namespace
