#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"
#include "tests/support/ReportExpectations.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RowLabel;
using namespace vellumry::test;

// "ab", the two-byte character 0xB0 0xA1, "c": five bytes.
const std::string kMixed = "ab\xB0\xA1"
                           "c";

// ---- Cuts by count: bytes, not characters ---------------------------------

struct CutCase {
    const char* label;
    CoreCommand command;
    std::string text;
    std::vector<std::int32_t> numbers;
    std::optional<std::string> expected;
};

class TextCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(TextCut, CutsBytesAndClampsEveryCount)
{
    const CutCase& c = GetParam();
    std::vector<TypedValue> arguments{Text(c.text)};
    for (std::int32_t n : c.numbers)
        arguments.push_back(Int(n));
    EXPECT_EQ(TakeText(CallWith(c.command, arguments)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextCommands, TextCut,
    ::testing::Values(CutCase{"LeftTwo", CoreCommand::LeftOfText, kMixed, {2}, "ab"},
                      CutCase{"LeftSplitsACharacter", CoreCommand::LeftOfText, kMixed, {3}, "ab\xB0"},
                      CutCase{"LeftZero", CoreCommand::LeftOfText, kMixed, {0}, std::nullopt},
                      CutCase{"LeftNegative", CoreCommand::LeftOfText, kMixed, {-1}, std::nullopt},
                      CutCase{"LeftMinimum", CoreCommand::LeftOfText, kMixed, {INT_MIN}, std::nullopt},
                      CutCase{"LeftBeyond", CoreCommand::LeftOfText, kMixed, {INT_MAX}, kMixed},
                      CutCase{"LeftOfEmpty", CoreCommand::LeftOfText, "", {3}, std::nullopt},
                      CutCase{"RightOne", CoreCommand::RightOfText, kMixed, {1}, "c"},
                      CutCase{"RightSplitsACharacter", CoreCommand::RightOfText, kMixed, {2}, "\xA1"
                                                                                              "c"},
                      CutCase{"RightBeyond", CoreCommand::RightOfText, kMixed, {99}, kMixed},
                      CutCase{"RightZero", CoreCommand::RightOfText, kMixed, {0}, std::nullopt},
                      CutCase{"RightOfFolderIsTheSeparator", CoreCommand::RightOfText, "D:\\pics\\", {1}, "\\"},
                      CutCase{"RightOfEmpty", CoreCommand::RightOfText, "", {1}, std::nullopt},
                      CutCase{"MidCharacter", CoreCommand::MidOfText, kMixed, {3, 2}, "\xB0\xA1"},
                      CutCase{"MidFromATrailByte", CoreCommand::MidOfText, kMixed, {4, 10}, "\xA1"
                                                                                             "c"},
                      CutCase{"MidLastByte", CoreCommand::MidOfText, kMixed, {5, 1}, "c"},
                      CutCase{"MidStartZero", CoreCommand::MidOfText, kMixed, {0, 2}, std::nullopt},
                      CutCase{"MidStartBeyond", CoreCommand::MidOfText, kMixed, {6, 1}, std::nullopt},
                      CutCase{"MidCountZero", CoreCommand::MidOfText, kMixed, {1, 0}, std::nullopt},
                      CutCase{"MidCountNegative", CoreCommand::MidOfText, kMixed, {1, -5}, std::nullopt},
                      CutCase{"MidHugeCount", CoreCommand::MidOfText, kMixed, {2, INT_MAX}, "b\xB0\xA1"
                                                                                            "c"},
                      CutCase{"MidHugeStart", CoreCommand::MidOfText, kMixed, {INT_MAX, INT_MAX}, std::nullopt},
                      CutCase{"MidMinimumStart", CoreCommand::MidOfText, kMixed, {INT_MIN, 3}, std::nullopt}),
    RowLabel());

TEST(TextCommands, LengthCountsBytes)
{
    EXPECT_EQ(Call(CoreCommand::LengthOfText, {Text(kMixed)}).Int(), 5);
    EXPECT_EQ(Call(CoreCommand::LengthOfText, {Text("")}).Int(), 0);
    EXPECT_EQ(Call(CoreCommand::LengthOfText, {TypedValue::OfPointer(vellumry::runtime::kTextType, nullptr)}).Int(), 0);
    // A number where a text belongs is not read as a pointer.
    EXPECT_EQ(Call(CoreCommand::LengthOfText, {Int(0x1234)}).Int(), 0);
    EXPECT_EQ(Call(CoreCommand::LengthOfText, {}).Int(), 0);
}

TEST(TextCommands, CodesOfBytesAndBytesOfCodes)
{
    const std::string one = "\xB0\xA1";
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text(one)}).Int(), -80) << "position 1 when left out";
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text(one), Int(2)}).Int(), -95);
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text(one), Int(5)}).Int(), 0);
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text(one), Int(3)}).Int(), 0);
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text(one), Int(0)}).Int(), 0);
    EXPECT_EQ(Call(CoreCommand::CodeOfChar, {Text("A")}).Int(), 65);

    EXPECT_EQ(TakeText(Call(CoreCommand::CharFromCode, {TypedValue::OfByte(65)})), "A");
    EXPECT_EQ(TakeText(Call(CoreCommand::CharFromCode, {Int(0x1B0)})), "\xB0") << "the low 8 bits";
    EXPECT_EQ(TakeText(Call(CoreCommand::CharFromCode, {Int(0)})), std::nullopt);
    EXPECT_EQ(TakeText(Call(CoreCommand::CharFromCode, {Int(0x100)})), std::nullopt);
}

// ---- Walks over characters ---------------------------------------------------

struct ShapeCase {
    const char* label;
    CoreCommand command;
    std::string text;
    std::optional<std::string> expected;
};

class TextShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(TextShape, WalksWholeCharacters)
{
    const ShapeCase& c = GetParam();
    EXPECT_EQ(TakeText(Call(c.command, {Text(c.text)})), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextCommands, TextShape,
    ::testing::Values(
        ShapeCase{"LowerAsciiOnly", CoreCommand::ToLowerCase, "ABC xYz", "abc xyz"},
        ShapeCase{"LowerLeavesTrailBytes", CoreCommand::ToLowerCase, "A\x81\x41Z\xB0\x5A", "a\x81\x41z\xB0\x5A"},
        ShapeCase{"LowerDanglingLead", CoreCommand::ToLowerCase, "Q\xC1", "q\xC1"},
        ShapeCase{"LowerEmpty", CoreCommand::ToLowerCase, "", std::nullopt},
        ShapeCase{"TrimBothKindsOfBlank", CoreCommand::TrimSpaces, "  \xA1\xA1" "a b\xA1\xA1 ", "a b"},
        ShapeCase{"TrimOnlyBlanks", CoreCommand::TrimSpaces, " \xA1\xA1 ", std::nullopt},
        ShapeCase{"TabIsNoBlank", CoreCommand::TrimSpaces, "\tx\r\n", "\tx\r\n"},
        ShapeCase{"SpaceAsSecondByteIsNoBlank", CoreCommand::TrimSpaces, "x\xB0\xA1\xA1 ", "x\xB0\xA1\xA1 "},
        ShapeCase{"IdeographicSpaceAfterACharacter", CoreCommand::TrimSpaces, "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        ShapeCase{"HalfAnIdeographicSpaceStays", CoreCommand::TrimSpaces, "\xA1\xA1\xA1", "\xA1"},
        ShapeCase{"TrimEmpty", CoreCommand::TrimSpaces, "", std::nullopt},
        ShapeCase{"RemoveEveryBlank", CoreCommand::RemoveAllSpaces, " a \xA1\xA1" "b\xB0\xA1\xA1\xA1 ", "ab\xB0\xA1"},
        ShapeCase{"RemoveKeepsCharactersWhole", CoreCommand::RemoveAllSpaces, "\xB0 x\xA1", "\xB0 x\xA1"},
        ShapeCase{"RemoveEverything", CoreCommand::RemoveAllSpaces, "  \xA1\xA1", std::nullopt}),
    RowLabel());

TEST(TextCommands, BlankTextOfCounts)
{
    EXPECT_EQ(TakeText(Call(CoreCommand::BlankText, {Int(3)})), "   ");
    EXPECT_EQ(TakeText(Call(CoreCommand::BlankText, {Int(0)})), std::nullopt);
    EXPECT_EQ(TakeText(Call(CoreCommand::BlankText, {Int(-4)})), std::nullopt);
    EXPECT_EQ(TakeText(Call(CoreCommand::BlankText, {Int(INT_MIN)})), std::nullopt);
}

TEST(TextCommandsDeath, HugeBlankTextIsTheAllocationFailure)
{
    EXPECT_EXIT(Call(CoreCommand::BlankText, {Int(0x40000000)}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 1073741825 字节内存失败!"));
    EXPECT_EXIT(Call(CoreCommand::BlankText, {Int(INT_MAX)}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("分配 2147483647 字节内存失败!"));
}

struct CompareCase {
    const char* label;
    std::string a;
    std::string b;
    bool caseSensitive;
    int expected;
};

class TextCompareCases : public ::testing::TestWithParam<CompareCase> {};

TEST_P(TextCompareCases, OrdersByCharacterCodes)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(Call(CoreCommand::TextCompare, {Text(c.a), Text(c.b), TypedValue::OfBool(c.caseSensitive)}).Int(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextCommands, TextCompareCases,
    ::testing::Values(CompareCase{"Equal", "abc", "abc", true, 0},
                      CompareCase{"CaseMatters", "abc", "ABC", true, 1},
                      CompareCase{"CaseIgnored", "abc", "ABC", false, 0},
                      CompareCase{"Prefix", "ab", "abc", true, -1},
                      CompareCase{"BothEmpty", "", "", true, 0},
                      CompareCase{"AgainstEmpty", "a", "", false, 1},
                      CompareCase{"TwoByteAboveSingle", "\xB0\xA1", "z", true, 1},
                      CompareCase{"TrailLettersNotFolded", "\x81\x41", "\x81\x61", false, -1},
                      CompareCase{"ByTrailByte", "\xB0\xA1x", "\xB0\xA2", true, -1},
                      CompareCase{"GbkEqual", Gbk("编辑框_网页地址"), Gbk("编辑框_网页地址"), true, 0},
                      CompareCase{"GbkDiffer", Gbk("编辑框_网页地址"), Gbk("编辑框_保存路径"), true, 1}),
    RowLabel());

}  // namespace
