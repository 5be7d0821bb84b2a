#include <gtest/gtest.h>

#include "app/CoreCommands.h"
#include "platform/kernel/PathMapping.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry::app;
using vellumry::test::Gbk;

class AppCoreCommands : public ::testing::Test {
protected:
    void SetUp() override { vellumry::runtime::InstallRuntimeCoreCommands(); }
};

std::string Str(const OwnedText& text)
{
    return text ? text.get() : "";
}

// Each wrapper must reach its own slot with its arguments in order and left
// out where the caller left them out.
TEST_F(AppCoreCommands, TextCallsReachTheirCommands)
{
    EXPECT_EQ(LengthOfText("abcd"), 4);
    EXPECT_EQ(Str(LeftOfText("abcd", 3)), "abc");
    EXPECT_EQ(Str(RightOfText("D:\\pics\\", 1)), "\\");
    EXPECT_EQ(Str(MidOfText("abcd", 2, 2)), "bc");
    EXPECT_EQ(Str(CharFromCode(0x5C)), "\\");
    EXPECT_EQ(CodeOfChar("\xB0\xA1"), -80);
    EXPECT_EQ(CodeOfChar("ab", 2), 'b');
    EXPECT_EQ(FindText("abab", "b"), 2);
    EXPECT_EQ(FindText("abab", "b", 3), 4);
    EXPECT_EQ(FindText("xABx", "ab", {}, true), 2);
    EXPECT_EQ(FindTextBackward("abab", "ab"), 3);
    EXPECT_EQ(FindTextBackward("abab", "ab", 4), 1);
    EXPECT_EQ(Str(ToLowerCase("AbC")), "abc");
    EXPECT_EQ(Str(TrimSpaces("  a  ")), "a");
    EXPECT_EQ(Str(RemoveAllSpaces(" a b ")), "ab");
    EXPECT_EQ(Str(ReplaceSubText("xABCxabc", "abc")), "xx") << "case ignored by default, replacement left out";
    EXPECT_EQ(Str(ReplaceSubText("xABCxabc", "abc", "-", {}, {}, true)), "xABCx-");
    EXPECT_EQ(Str(ReplaceSubText("aaaa", "a", "b", 2, 2)), "abba");
    EXPECT_EQ(Str(BlankText(2)), "  ");
    EXPECT_EQ(TextCompare("a", "A", false), 0);
    EXPECT_NE(TextCompare("a", "A", true), 0);

    OwnedTextArray pieces = SplitText("a,b|c", nullptr);
    ASSERT_EQ(vellumry::runtime::ArrayElementCount(pieces.get()), 2);
    OwnedTextArray limited = SplitText("a|b|c", "|", 2);
    EXPECT_EQ(vellumry::runtime::ArrayElementCount(limited.get()), 2);
}

TEST_F(AppCoreCommands, ByteSetConversionAndArithmeticCallsReachTheirCommands)
{
    OwnedByteSet blank = BlankByteSet(4);
    EXPECT_EQ(ByteSetLength(blank.get()), 4);
    OwnedByteSet bytes = ToByteSet(TextArgument("hello"));
    EXPECT_EQ(ByteSetLength(LeftOfByteSet(bytes.get(), 2).get()), 2);
    OwnedByteSet middle = MidOfByteSet(bytes.get(), 2, 3);
    EXPECT_EQ(Str(ToText(ByteSetArgument(middle.get()))), "ell");
    EXPECT_EQ(ToInteger(TextArgument(Gbk("１２").c_str())), 12);
    EXPECT_EQ(ToByte(vellumry::runtime::TypedValue::OfInt(258)), 2);
    EXPECT_EQ(Str(ToText(vellumry::runtime::TypedValue::OfBool(false))), Gbk("假"));
    EXPECT_EQ(Remainder(10, {4, 3}), 2.0);
    EXPECT_EQ(BitAnd({6, 3}), 2);
    EXPECT_EQ(BitOr({1, 2, 4}), 7);
    EXPECT_EQ(ShiftLeft(1, 4), 16);
    EXPECT_EQ(ShiftRight(-32, 4), -2);
}

TEST_F(AppCoreCommands, FileCallsReachTheirCommands)
{
    vellumry::test::ScopedTempDir dir;
    std::string folder = vellumry::kernel::ToRuntimePath(dir.Path());
    OwnedByteSet head = ToByteSet(TextArgument("ab"));
    OwnedByteSet tail = ToByteSet(TextArgument("cd"));
    std::string picture = folder + "\\1.jpg";
    EXPECT_TRUE(WriteToFile(picture.c_str(), {head.get(), tail.get()}));
    EXPECT_EQ(vellumry::test::ReadHostFile(dir.File("1.jpg")), "abcd");

    std::string ini = folder + "\\s.ini";
    EXPECT_TRUE(WriteProfileItem(ini.c_str(), "s", "k", "v"));
    EXPECT_EQ(Str(ReadProfileItem(ini.c_str(), "s", "k")), "v");
    EXPECT_TRUE(WriteProfileItem(ini.c_str(), "s", "k", nullptr));
    EXPECT_EQ(Str(ReadProfileItem(ini.c_str(), "s", "k", "gone")), "gone");
    EXPECT_TRUE(WriteProfileItem(ini.c_str(), "s", "j", "w"));
    EXPECT_TRUE(WriteProfileItem(ini.c_str(), "s", nullptr, nullptr));
    EXPECT_EQ(Str(ReadProfileItem(ini.c_str(), "s", "j")), "");

    EXPECT_FALSE(Str(ProgramFolder()).empty());
}

}  // namespace
