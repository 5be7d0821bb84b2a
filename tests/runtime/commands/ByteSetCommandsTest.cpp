#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/CaseTable.h"
#include "tests/support/ReportExpectations.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RowLabel;
using namespace vellumry::test;

struct ByteSetCutCase {
    const char* label;
    CoreCommand command;
    std::vector<std::int32_t> numbers;
    std::optional<std::string> expected;
};

class ByteSetCut : public ::testing::TestWithParam<ByteSetCutCase> {};

TEST_P(ByteSetCut, ClampsStartAndCount)
{
    const ByteSetCutCase& c = GetParam();
    HeapBytes bytes(std::string("ab\0de", 5));
    std::vector<TypedValue> arguments{bytes.Value()};
    for (std::int32_t n : c.numbers)
        arguments.push_back(Int(n));
    EXPECT_EQ(TakeByteSet(CallWith(c.command, arguments)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ByteSetCommands, ByteSetCut,
    ::testing::Values(ByteSetCutCase{"LeftKeepsZeroBytes", CoreCommand::LeftOfByteSet, {4}, std::string("ab\0d", 4)},
                      ByteSetCutCase{"LeftBeyond", CoreCommand::LeftOfByteSet, {INT_MAX}, std::string("ab\0de", 5)},
                      ByteSetCutCase{"LeftZero", CoreCommand::LeftOfByteSet, {0}, std::nullopt},
                      ByteSetCutCase{"LeftNegative", CoreCommand::LeftOfByteSet, {INT_MIN}, std::nullopt},
                      ByteSetCutCase{"MidMiddle", CoreCommand::MidOfByteSet, {2, 2}, std::string("b\0", 2)},
                      ByteSetCutCase{"MidStartBelowOneFromTheFirst", CoreCommand::MidOfByteSet, {-3, 2}, "ab"},
                      ByteSetCutCase{"MidMinimumStart", CoreCommand::MidOfByteSet, {INT_MIN, 1}, "a"},
                      ByteSetCutCase{"MidCountToTheEnd", CoreCommand::MidOfByteSet, {4, INT_MAX}, "de"},
                      ByteSetCutCase{"MidStartAtTheEnd", CoreCommand::MidOfByteSet, {6, 3}, std::nullopt},
                      ByteSetCutCase{"MidStartBeyond", CoreCommand::MidOfByteSet, {INT_MAX, 3}, std::nullopt},
                      ByteSetCutCase{"MidNegativeCount", CoreCommand::MidOfByteSet, {1, -1}, std::nullopt}),
    RowLabel());

TEST(ByteSetCommands, LengthsAndBlankByteSets)
{
    HeapBytes bytes("abc");
    EXPECT_EQ(Call(CoreCommand::ByteSetLength, {bytes.Value()}).Int(), 3);
    EXPECT_EQ(Call(CoreCommand::ByteSetLength, {TypedValue::OfPointer(vellumry::runtime::kByteSetType, nullptr)}).Int(),
              0);
    EXPECT_EQ(Call(CoreCommand::ByteSetLength, {Int(77)}).Int(), 0) << "a number is no byte-set";
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::LeftOfByteSet, {Int(77), Int(2)})), std::nullopt);

    EXPECT_EQ(TakeByteSet(Call(CoreCommand::BlankByteSet, {Int(3)})), std::string(3, '\0'));
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::BlankByteSet, {Int(0)})), std::nullopt);
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::BlankByteSet, {Int(-1)})), std::nullopt);
}

TEST(ByteSetCommandsDeath, HugeBlankByteSetIsTheAllocationFailure)
{
    EXPECT_EXIT(Call(CoreCommand::BlankByteSet, {Int(0x40000000)}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 1073741832 字节内存失败!"));
    EXPECT_EXIT(Call(CoreCommand::BlankByteSet, {Int(INT_MAX)}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 2147483647 字节内存失败!"));
}

}  // namespace
