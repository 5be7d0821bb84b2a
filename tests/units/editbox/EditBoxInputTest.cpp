// The edit box's input rules without a window: the typed-character filter of
// every input mode, the rewriting of the text on focus loss, and the spin
// step with its wrapping.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/GbkText.h"
#include "units/editbox/EditBoxInput.h"

namespace {

using namespace vellumry;
using units::AcceptsTypedCharacter;
using units::NormalisedText;
using units::SpinStep;

struct FilterCase {
    std::int32_t mode;
    const char* accepted;
    const char* refused;
};

void PrintTo(const FilterCase& c, std::ostream* out)
{
    *out << "mode " << c.mode;
}

class InputFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(InputFilter, AcceptsItsCharactersAndRefusesTheOthers)
{
    const FilterCase& c = GetParam();
    for (const char* p = c.accepted; *p; ++p)
        EXPECT_TRUE(AcceptsTypedCharacter(c.mode, static_cast<unsigned char>(*p))) << "'" << *p << "'";
    for (const char* p = c.refused; *p; ++p)
        EXPECT_FALSE(AcceptsTypedCharacter(c.mode, static_cast<unsigned char>(*p))) << "'" << *p << "'";
    // Control characters (backspace, tab, Ctrl+V) always pass.
    for (char32_t control : {U'\b', U'\t', U'\x16', U'\r'})
        EXPECT_TRUE(AcceptsTypedCharacter(c.mode, control));
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, InputFilter,
    ::testing::Values(FilterCase{0, "-.09aZ &", ""}, FilterCase{1, "-.09aZ", ""}, FilterCase{2, "-.09aZ", ""},
                      FilterCase{3, "-0123456789", ".a +e"}, FilterCase{4, "-.0123456789", "a +e,"},
                      FilterCase{5, "0123456789", "-.a +"}, FilterCase{6, "-09", ".a"}, FilterCase{7, "-09", ".a"},
                      FilterCase{8, "-09", ".a"}, FilterCase{9, "-.09", "ae"}, FilterCase{10, "-.09", "ae"},
                      FilterCase{11, "-.09aZ/: ", ""}));

TEST(InputFilter, NonAsciiCharactersPassOnlyInTheFreeModes)
{
    EXPECT_TRUE(AcceptsTypedCharacter(0, U'页'));
    EXPECT_TRUE(AcceptsTypedCharacter(11, U'年'));
    EXPECT_FALSE(AcceptsTypedCharacter(3, U'页'));
    EXPECT_FALSE(AcceptsTypedCharacter(5, U'１'));  // a full-width digit is no digit here
}

struct NormalCase {
    std::int32_t mode;
    const char* text;
    std::optional<std::string> result;
};

void PrintTo(const NormalCase& c, std::ostream* out)
{
    *out << "mode " << c.mode << " \"" << c.text << "\"";
}

class FocusLossRewrite : public ::testing::TestWithParam<NormalCase> {};

TEST_P(FocusLossRewrite, GivesTheModesText)
{
    const NormalCase& c = GetParam();
    EXPECT_EQ(NormalisedText(c.mode, c.text), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FocusLossRewrite,
    ::testing::Values(
        // Modes without numbers leave the text alone.
        NormalCase{0, "abc", std::nullopt}, NormalCase{1, "12", std::nullopt}, NormalCase{2, "x", std::nullopt},
        NormalCase{3, "-12x", std::nullopt}, NormalCase{4, "1.5.5", std::nullopt},
        // Byte: 0..255, "0" becomes empty.
        NormalCase{5, "300", "255"}, NormalCase{5, "-7", ""}, NormalCase{5, "42abc", "42"}, NormalCase{5, "", ""},
        NormalCase{5, "  17", "17"}, NormalCase{5, "0", ""},
        // Short.
        NormalCase{6, "40000", "32767"}, NormalCase{6, "-40000", "-32768"}, NormalCase{6, "-5", "-5"},
        // Integer: read as 64 bits, clamped to 32.
        NormalCase{7, "3000000000", "2147483647"}, NormalCase{7, "-3000000000", "-2147483648"},
        NormalCase{7, "007", "7"},
        // Long: 64 bits kept, the ends of the range where it runs past them.
        NormalCase{8, "3000000000", "3000000000"}, NormalCase{8, "99999999999999999999", "9223372036854775807"},
        NormalCase{8, "-0", ""},
        // Float and double in the runtime's number texts.
        NormalCase{9, "3.14159265", "3.14159"}, NormalCase{9, "0.0", ""}, NormalCase{9, "-2.5", "-2.5"},
        NormalCase{10, "3.14159265358979", "3.14159265359"}, NormalCase{10, "1e3", "1000"},
        NormalCase{10, "abc", ""}));

TEST(FocusLossRewrite, DatesComeBackInTheRuntimesFormOrEmpty)
{
    EXPECT_EQ(test::Utf8(NormalisedText(11, "2024/3/5").value()), "2024年3月5日");
    EXPECT_EQ(test::Utf8(NormalisedText(11, "2024-03-05 10:07:09").value()), "2024年3月5日10时7分9秒");
    EXPECT_EQ(test::Utf8(NormalisedText(11, test::Gbk("2024年3月5日10时7分")).value()), "2024年3月5日10时7分");
    EXPECT_EQ(NormalisedText(11, "2024/2/30"), "");  // no such day
    EXPECT_EQ(NormalisedText(11, "yesterday"), "");
    EXPECT_EQ(NormalisedText(11, "1899/12/30"), "");  // the zero date
    EXPECT_EQ(NormalisedText(11, "5"), "");
}

TEST(SpinStep, StepsByOneAndWrapsAtTheBounds)
{
    EXPECT_EQ(SpinStep("5", 1, 0, 10), 6);
    EXPECT_EQ(SpinStep("5", -1, 0, 10), 4);
    EXPECT_EQ(SpinStep("10", 1, 0, 10), 0) << "stepping up past the upper bound gives the lower";
    EXPECT_EQ(SpinStep("0", -1, 0, 10), 10) << "stepping down past the lower bound gives the upper";
    EXPECT_EQ(SpinStep("", 1, 0, 10), 1);
    EXPECT_EQ(SpinStep("abc", -1, 0, 10), 10);
    // A text already outside the range wraps by the direction of the step.
    EXPECT_EQ(SpinStep("50", -1, 0, 10), 10);
    EXPECT_EQ(SpinStep("-50", 1, 0, 10), 0);
    EXPECT_EQ(SpinStep("2147483647", 1, -5, 2147483647), -5) << "no overflow at the top of the range";
}

}  // namespace
