// The matching rules of VBScript 5.5 regular expressions (JScript syntax), as
// the "VBScript.RegExp" stand-in follows them on PCRE2.

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/vbscript/RegExpClient.h"
#include "tests/support/CaseTable.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RegExpClient;
using vellumry::test::RegExpOptions;

constexpr RegExpOptions kOnce{};
constexpr RegExpOptions kAll{false, false, true};
constexpr RegExpOptions kAllLines{false, true, true};
constexpr RegExpOptions kNoCase{true, false, false};

struct MatchCase {
    const char* label;
    const char16_t* pattern;
    RegExpOptions options;
    const char16_t* subject;
    const char* expected;  // "FirstIndex,Length,Value[groups]" joined by ";"
};

class RegExpMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RegExpMatching, FindsWhatJScriptFinds)
{
    const MatchCase& c = GetParam();
    RegExpClient client;
    client.Configure(c.pattern, c.options);
    EXPECT_EQ(client.Execute(c.subject), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RegExpMatching,
    ::testing::Values(
        MatchCase{"DotExcludesOnlyLineFeed", u"a.c", kAll, u"a\rc a\nc abc", "0,3,a<000D>c;8,3,abc"},
        MatchCase{"DollarOnlyAtTheVeryEnd", u"a$", kAll, u"a\na", "2,1,a"},
        MatchCase{"DollarNotBeforeAFinalLineFeed", u"a$", kAll, u"a\n", ""},
        MatchCase{"MultilineDollar", u"a$", kAllLines, u"a\na", "0,1,a;2,1,a"},
        MatchCase{"MultilineCaret", u"^b", kAllLines, u"a\nb", "2,1,b"},
        MatchCase{"CaretWithoutMultiline", u"^b", kAll, u"a\nb", ""},
        MatchCase{"LazyQuantifier", u"a+?", kAll, u"aaa", "0,1,a;1,1,a;2,1,a"},
        MatchCase{"LazyGroup", u"<(.*?)>", kAll, u"<a><b>", "0,3,<a>[a];3,3,<b>[b]"},
        MatchCase{"GroupThatTookNoPart", u"(a)|(b)", kOnce, u"b", "0,1,b[~|b]"},
        MatchCase{"EmptyMatchesMoveOn", u"x*", kAll, u"abc", "0,0,;1,0,;2,0,;3,0,"},
        MatchCase{"EmptyThenLongerMatch", u"a*", kAll, u"baaa", "0,0,;1,3,aaa;4,0,"},
        MatchCase{"WithoutGlobalTheFirstOnly", u"\\d", kOnce, u"a1b2", "1,1,1"},
        MatchCase{"IgnoringCase", u"ABC", kNoCase, u"xabc", "1,3,abc"},
        MatchCase{"CaseMatters", u"ABC", kOnce, u"xabc", ""},
        MatchCase{"IgnoringCaseOfFullWidthLetters", u"\uFF41", kNoCase, u"\uFF21", "0,1,<FF21>"},
        MatchCase{"OffsetsCountUtf16Units", u"b", kOnce, u"\u4E2D\u6587b", "2,1,b"},
        MatchCase{"LoneSurrogateInTheSubject", u"b", kOnce, u"a\xD800"
                                                                u"b",
                  "2,1,b"},
        MatchCase{"EscapedLettersStandForThemselves", u"\\A\\z\\Q", kOnce, u"AzQ", "0,3,AzQ"},
        MatchCase{"VerticalTabEscape", u"\\v", kOnce, u"\n\v", "1,1,<000B>"},
        MatchCase{"SpaceClassHasVerticalTab", u"\\s", kOnce, u"x\v", "1,1,<000B>"},
        MatchCase{"NoPosixClasses", u"[[:alpha:]]", kOnce, u"a]", "0,2,a]"},
        MatchCase{"BackReference", u"(a)\\1", kOnce, u"aa", "0,2,aa[a]"},
        MatchCase{"ReferenceToAGroupNotYetMatched", u"\\1(a)", kOnce, u"a", "0,1,a[a]"},
        MatchCase{"OctalWhenNoSuchGroup", u"\\101", kOnce, u"xA", "1,1,A"},
        MatchCase{"EightIsADigit", u"\\8", kOnce, u"8", "0,1,8"},
        MatchCase{"HexEscape", u"\\x41", kOnce, u"A", "0,1,A"},
        MatchCase{"BrokenHexEscapeIsTheLetter", u"\\xZ", kOnce, u"xZ", "0,2,xZ"},
        MatchCase{"UnicodeEscape", u"\\u4e2d", kOnce, u"\u4E2D", "0,1,<4E2D>"},
        MatchCase{"ControlEscape", u"\\cJ", kOnce, u"\n", "0,1,<000A>"},
        MatchCase{"CountedQuantifier", u"a{2}", kOnce, u"aaa", "0,2,aa"},
        MatchCase{"BraceThatIsNoQuantifier", u"a{,2}", kOnce, u"a{,2}", "0,5,a{,2}"},
        MatchCase{"EmptyClassMatchesNothing", u"a[]", kOnce, u"a", ""},
        MatchCase{"NegatedEmptyClassMatchesAnything", u"[^]", kOnce, u"\n", "0,1,<000A>"},
        MatchCase{"BackspaceInAClass", u"[\\b]", kOnce, u"\b", "0,1,<0008>"},
        MatchCase{"Lookahead", u"a(?=b)", kAll, u"ac ab", "3,1,a"}),
    vellumry::test::RowLabel());

struct SyntaxCase {
    const char* label;
    const char16_t* pattern;
};

class RegExpSyntaxErrors : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(RegExpSyntaxErrors, FailWithError5017)
{
    RegExpClient client;
    client.Configure(GetParam().pattern, kAll);
    EXPECT_EQ(client.Execute(u"abc"), "error 800A1399");
}

INSTANTIATE_TEST_SUITE_P(NotJScript, RegExpSyntaxErrors,
                         ::testing::Values(SyntaxCase{"NamedGroup", u"(?<n>a)"}, SyntaxCase{"InlineOption", u"(?i)a"},
                                           SyntaxCase{"AtomicGroup", u"(?>a)"},
                                           SyntaxCase{"PossessiveQuantifier", u"a*+"},
                                           SyntaxCase{"Lookbehind", u"(?<=a)b"}, SyntaxCase{"OpenGroup", u"(a"},
                                           SyntaxCase{"OpenClass", u"[a"}, SyntaxCase{"TrailingBackslash", u"a\\"},
                                           SyntaxCase{"NothingToRepeat", u"*a"}),
                         vellumry::test::RowLabel());

struct ReplaceCase {
    const char* label;
    const char16_t* pattern;
    RegExpOptions options;
    const char16_t* subject;
    const char16_t* replacement;
    const char* expected;
};

class RegExpReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(RegExpReplace, ExpandsTheReplacement)
{
    const ReplaceCase& c = GetParam();
    RegExpClient client;
    client.Configure(c.pattern, c.options);
    EXPECT_EQ(client.Replace(c.subject, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, RegExpReplace,
    ::testing::Values(ReplaceCase{"Groups", u"a(\\d)", kAll, u"a1 a2", u"<$1>", "<1> <2>"},
                      ReplaceCase{"FirstOnlyWithoutGlobal", u"a(\\d)", kOnce, u"a1 a2", u"<$1>", "<1> a2"},
                      ReplaceCase{"WholeMatch", u"b", kAll, u"abc", u"$&$&", "abbc"},
                      ReplaceCase{"TextBefore", u"b", kAll, u"abc", u"[$`]", "a[a]c"},
                      ReplaceCase{"TextAfter", u"b", kAll, u"abc", u"[$']", "a[c]c"},
                      ReplaceCase{"Dollar", u"b", kAll, u"abc", u"$$", "a$c"},
                      ReplaceCase{"NoSuchGroup", u"(b)", kAll, u"abc", u"$2", "a$2c"},
                      ReplaceCase{"OneDigitWhenTwoAreTooMany", u"(b)", kAll, u"abc", u"$10", "ab0c"},
                      ReplaceCase{"GroupZeroIsText", u"(b)", kAll, u"abc", u"$0", "a$0c"},
                      ReplaceCase{"TrailingDollar", u"b", kAll, u"abc", u"x$", "ax$c"},
                      ReplaceCase{"UnsetGroupIsEmpty", u"(x)?b", kAll, u"abc", u"[$1]", "a[]c"},
                      ReplaceCase{"EmptyMatches", u"x*", kAll, u"ab", u"-", "-a-b-"},
                      ReplaceCase{"NoMatch", u"z", kAll, u"abc", u"-", "abc"}),
    vellumry::test::RowLabel());

}  // namespace
