#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "runtime/commands/GbkCharacters.h"
#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RowLabel;
using namespace vellumry::test;
using vellumry::runtime::commands::EqualIgnoringCase;

TypedValue OrOmitted(std::optional<std::int32_t> n)
{
    return n ? Int(*n) : Omitted();
}

// ---- FindText and FindTextBackward ------------------------------------------

struct FindCase {
    const char* label;
    std::string text;
    std::string sought;
    std::optional<std::int32_t> position;  // start, or end for the backward search
    std::optional<std::int32_t> ignoreCase;
    std::int32_t expected;
};

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, MatchesOnlyWhereACharacterStarts)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(Call(CoreCommand::FindText, {Text(c.text), Text(c.sought), OrOmitted(c.position), OrOmitted(c.ignoreCase)})
                  .Int(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextSearchCommands, Find,
    ::testing::Values(
        FindCase{"AfterATwoByteCharacter", "\xB0\xA1x", "x", {}, {}, 3},
        FindCase{"NotInsideACharacter", "\xB0\xA1", "\xA1", {}, {}, -1},
        FindCase{"NotAcrossABoundary", "\xB0\xA1\xA1\xA1", "\xA1\xA1", {}, {}, 3},
        FindCase{"TrailByteWithALettersCode", "\x81\x41" "A", "A", {}, {}, 3},
        FindCase{"InALongRunOfTwoByteCharacters", "\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0" "b", "\xB0" "b", {}, {}, -1},
        FindCase{"OddRunBeforeTheMatch", "\xB0\xB0\xB0\xB0\xB0\xB0\xB0" "b", "\xB0" "b", {}, {}, 7},
        FindCase{"FromAStart", "abab", "b", 3, {}, 4},
        FindCase{"StartZeroIsOne", "abab", "a", 0, {}, 1},
        FindCase{"StartNegativeIsOne", "abab", "a", -5, {}, 1},
        FindCase{"StartMinimum", "abab", "a", INT_MIN, {}, 1},
        FindCase{"StartAtTheLastByte", "abab", "b", 4, {}, 4},
        FindCase{"StartBeyond", "abab", "b", 5, {}, -1},
        FindCase{"StartMaximum", "abab", "b", INT_MAX, {}, -1},
        FindCase{"StartOnATrailByteIsAWalkOrigin", "\xB0\xA1x", "\xA1x", 2, {}, 2},
        FindCase{"EmptySought", "abc", "", 3, {}, 1},
        FindCase{"EmptySoughtBeyond", "abc", "", 4, {}, -1},
        FindCase{"EmptySoughtInEmptyText", "", "", {}, {}, -1},
        FindCase{"SoughtLongerThanText", "ab", "abc", {}, {}, -1},
        FindCase{"SoughtIsTheText", "ab\xB0\xA1", "ab\xB0\xA1", {}, {}, 1},
        FindCase{"DanglingLeadAtTheEnd", "ab\xB0", "\xB0", {}, {}, 3},
        FindCase{"ExactByDefault", "xabc", "ABC", {}, {}, -1},
        FindCase{"IgnoringCase", "xabc", "ABC", {}, 1, 2},
        FindCase{"IgnoreCaseMeansExactlyOne", "xabc", "ABC", {}, 2, -1},
        FindCase{"IgnoringCaseFindsTheRareCase", "aaaaaaaaB", "b", {}, 1, 9},
        FindCase{"IgnoringCaseLeavesTrailBytes", "\x81\x61", "\x81\x41", {}, 1, -1},
        FindCase{"IgnoringCaseNotInsideACharacter", "\xB0" "a" "A", "a", {}, 1, 3}),
    RowLabel());

class FindBackward : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindBackward, GivesTheLastMatchEndingBeforeTheEnd)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(Call(CoreCommand::FindTextBackward,
                  {Text(c.text), Text(c.sought), OrOmitted(c.position), OrOmitted(c.ignoreCase)})
                  .Int(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextSearchCommands, FindBackward,
    ::testing::Values(FindCase{"WholeText", "abcabc", "bc", {}, {}, 5},
                      FindCase{"WithinTheFirstEndLessOneBytes", "abcabc", "bc", 6, {}, 2},
                      FindCase{"MatchEndingRightAtTheLimit", "abcabc", "bc", 7, {}, 5},
                      FindCase{"EndBeyondTheLength", "abcabc", "bc", INT_MAX, {}, 5},
                      FindCase{"EndOne", "abcabc", "a", 1, {}, -1},
                      FindCase{"EndNegative", "abcabc", "a", -3, {}, -1},
                      FindCase{"Overlapping", "aaaa", "aa", {}, {}, 3},
                      FindCase{"NotInsideACharacter", "\xB0\xA1" "x\xB0\xA1", "\xA1", {}, {}, -1},
                      FindCase{"AfterPairsOnly", "\xB0\xA1\xA1\xA1\xA1\xA1", "\xA1\xA1", {}, {}, 5},
                      FindCase{"EmptySought", "abc", "", {}, {}, 1},
                      FindCase{"EmptySoughtEndOne", "abc", "", 1, {}, -1},
                      FindCase{"EmptySoughtEndTwo", "abc", "", 2, {}, 1},
                      FindCase{"IgnoringCase", "ABxab", "ab", {}, 1, 4},
                      FindCase{"ExactByDefault", "abxAB", "ab", {}, {}, 1}),
    RowLabel());

// ---- ReplaceSubText -----------------------------------------------------------

struct ReplaceCase {
    const char* label;
    std::string text;
    std::string sought;
    std::optional<std::string> replacement;
    std::optional<std::int32_t> start;
    std::optional<std::int32_t> count;
    std::optional<bool> caseSensitive;
    std::optional<std::string> expected;
};

class Replace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replace, ReplacesWholeCharactersFromTheStart)
{
    const ReplaceCase& c = GetParam();
    TypedValue replacement = c.replacement ? Text(*c.replacement) : Omitted();
    TypedValue caseSensitive = c.caseSensitive ? TypedValue::OfBool(*c.caseSensitive) : Omitted();
    EXPECT_EQ(TakeText(Call(CoreCommand::ReplaceSubText, {Text(c.text), Text(c.sought), replacement, OrOmitted(c.start),
                                                         OrOmitted(c.count), caseSensitive})),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextSearchCommands, Replace,
    ::testing::Values(
        ReplaceCase{"SuffixRemovedEverywhere", "a.shtml.shtml", ".shtml", "", {}, {}, true, "a"},
        ReplaceCase{"IgnoresCaseByDefault", "xabcx", "ABC", "R", {}, {}, {}, "xRx"},
        ReplaceCase{"CaseSensitiveOnRequest", "xabcx", "ABC", "R", {}, {}, true, "xabcx"},
        ReplaceCase{"LineBreakMarkers", "a\r\nb\r\n", "\r\n", "><br><", {}, {}, true, "a><br><b><br><"},
        ReplaceCase{"ReplacementLeftOut", "a-b-c", "-", {}, {}, {}, {}, "abc"},
        ReplaceCase{"CountLimits", "aaaa", "a", "b", {}, 2, {}, "bbaa"},
        ReplaceCase{"NegativeCountIsUnlimited", "aaaa", "a", "b", {}, -1, {}, "bbbb"},
        ReplaceCase{"CountZeroCopies", "aaaa", "a", "b", {}, 0, {}, "aaaa"},
        ReplaceCase{"FromAStart", "abab", "a", "X", 2, {}, {}, "abXb"},
        ReplaceCase{"StartBelowOne", "abab", "a", "X", -7, {}, {}, "XbXb"},
        ReplaceCase{"StartBeyondCopies", "abab", "a", "X", 5, {}, {}, "abab"},
        ReplaceCase{"EmptySoughtCopies", "abab", "", "X", {}, {}, {}, "abab"},
        ReplaceCase{"EmptyText", "", "a", "X", {}, {}, {}, std::nullopt},
        ReplaceCase{"EmptyResultIsNull", "aaa", "a", "", {}, {}, {}, std::nullopt},
        ReplaceCase{"NotInsideACharacter", "\xB0\xA1\xA1\xA1", "\xA1\xA1", "R", {}, {}, true, "\xB0\xA1R"},
        ReplaceCase{"TrailLettersNotFolded", "\x81\x61" "a", "A", "R", {}, {}, {}, "\x81\x61R"},
        ReplaceCase{"WalkRestartsAfterAMatch", "\xB0\xB0\xA1", "\xB0", "", {}, {}, true, "\xA1"},
        ReplaceCase{"GbkTexts", Gbk("第1页第2页"), Gbk("页"), Gbk("頁"), {}, {}, true, Gbk("第1頁第2頁")}),
    RowLabel());

// ---- SplitText -------------------------------------------------------------------

struct SplitCase {
    const char* label;
    std::string text;
    std::optional<std::string> separator;
    std::optional<std::int32_t> maximum;
    std::vector<std::string> expected;
};

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, CutsAtSeparatorsOnCharacterBoundaries)
{
    const SplitCase& c = GetParam();
    TypedValue separator = c.separator ? Text(*c.separator) : Omitted();
    EXPECT_EQ(TakeTextArray(Call(CoreCommand::SplitText, {Text(c.text), separator, OrOmitted(c.maximum)})), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextSearchCommands, Split,
    ::testing::Values(SplitCase{"EmptyPieceBetweenSeparators", "a||b|", "|", {}, {"a", "", "b"}},
                      SplitCase{"EmptyText", "", "|", {}, {}},
                      SplitCase{"MaximumOne", "a||b|", "|", 1, {"a"}},
                      SplitCase{"MaximumTwo", "a,b,c", ",", 2, {"a", "b"}},
                      SplitCase{"MaximumZero", "a,b", ",", 0, {}},
                      SplitCase{"NegativeMaximum", "a,b", ",", -3, {}},
                      SplitCase{"CommaByDefault", "a,b", {}, {}, {"a", "b"}},
                      SplitCase{"EmptySeparatorKeepsTheText", "a,b", "", {}, {"a,b"}},
                      SplitCase{"SeparatorAtTheStart", "|a", "|", {}, {"", "a"}},
                      SplitCase{"OnlySeparators", "||", "|", {}, {"", ""}},
                      SplitCase{"LongSeparator", "x<br>y<br>", "<br>", {}, {"x", "y"}},
                      SplitCase{"SeparatorAsSecondByte", "\xB0|a|b", "|", {}, {"\xB0|a", "b"}},
                      SplitCase{"SeparatorMatchesExactly", "aXbxc", "x", {}, {"aXb", "c"}}),
    RowLabel());

// ---- The walk against a literal one --------------------------------------------
//
// The commands find candidates with a fast byte search and check character
// boundaries by looking back. These reference functions walk byte by byte,
// exactly as the rules read; random texts made of few bytes, rich in lead
// bytes and in trail bytes that look like letters, must give the same answers.

bool MatchesAt(const std::string& text, std::size_t at, const std::string& sought, bool ignoreCase)
{
    if (ignoreCase)
        return EqualIgnoringCase(text.data() + at, sought.data(), sought.size());
    return text.compare(at, sought.size(), sought) == 0;
}

// Every position the walk from `from` visits where the sought text matches,
// with the walk going on after each match at the next character, or at the
// end of the match when `skipMatch`.
std::vector<std::size_t> ReferenceWalk(const std::string& text, const std::string& sought, std::size_t from,
                                       bool ignoreCase, bool skipMatch)
{
    std::vector<std::size_t> matches;
    std::size_t i = from;
    while (i + sought.size() <= text.size()) {
        if (MatchesAt(text, i, sought, ignoreCase)) {
            matches.push_back(i);
            if (skipMatch) {
                i += sought.size();
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            if (i + 1 >= text.size())
                break;  // a lead byte at the very end stops the walk
            i += 2;
        } else {
            i += 1;
        }
    }
    return matches;
}

std::string RandomText(std::mt19937& random, std::size_t maxLength)
{
    static const char kBytes[] = {'a', 'A', 'b', '|', '\xB0', '\xA1', '\x81', 'a'};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kBytes - 1);
    std::string text(length(random), ' ');
    for (char& c : text)
        c = kBytes[pick(random)];
    return text;
}

TEST(TextSearchCommands, AgreeWithALiteralWalkOnRandomTexts)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        std::string text = RandomText(random, 24);
        std::string sought = RandomText(random, 3);
        if (sought.empty())
            sought = "a";
        bool ignoreCase = round % 2 == 1;
        auto start = static_cast<std::int32_t>(random() % (text.size() + 2));
        SCOPED_TRACE(::testing::PrintToString(text) + " / " + ::testing::PrintToString(sought) + " start " +
                     std::to_string(start) + (ignoreCase ? " ignoring case" : ""));

        std::size_t from = start > 0 ? static_cast<std::size_t>(start - 1) : 0;
        auto forward = from < text.size() ? ReferenceWalk(text, sought, from, ignoreCase, true)
                                          : std::vector<std::size_t>();
        std::int32_t expectedFind = forward.empty() ? -1 : static_cast<std::int32_t>(forward[0] + 1);
        EXPECT_EQ(Call(CoreCommand::FindText, {Text(text), Text(sought), Int(start), Int(ignoreCase ? 1 : 0)}).Int(),
                  expectedFind);

        std::string head = text.substr(0, from);
        auto all = ReferenceWalk(head, sought, 0, ignoreCase, false);
        std::int32_t expectedBackward = all.empty() ? -1 : static_cast<std::int32_t>(all.back() + 1);
        EXPECT_EQ(Call(CoreCommand::FindTextBackward, {Text(text), Text(sought), Int(start), Int(ignoreCase ? 1 : 0)})
                      .Int(),
                  expectedBackward);

        std::string replaced = text.substr(0, std::min(from, text.size()));
        std::size_t copied = replaced.size();
        for (std::size_t at : forward) {
            replaced += text.substr(copied, at - copied) + "<>";
            copied = at + sought.size();
        }
        replaced += text.substr(std::min(copied, text.size()));
        auto expectedReplace = replaced.empty() ? std::nullopt : std::optional(replaced);
        EXPECT_EQ(TakeText(Call(CoreCommand::ReplaceSubText, {Text(text), Text(sought), Text("<>"), Int(start),
                                                             Omitted(), TypedValue::OfBool(!ignoreCase)})),
                  expectedReplace);

        std::vector<std::string> pieces;
        std::size_t pieceStart = 0;
        for (std::size_t at : text.empty() ? std::vector<std::size_t>() : ReferenceWalk(text, sought, 0, false, true)) {
            pieces.push_back(text.substr(pieceStart, at - pieceStart));
            pieceStart = at + sought.size();
        }
        if (pieceStart < text.size())
            pieces.push_back(text.substr(pieceStart));
        EXPECT_EQ(TakeTextArray(Call(CoreCommand::SplitText, {Text(text), Text(sought)})), pieces);
    }
}

TEST(TextSearchCommands, LongRunsOfLeadBytesStayCorrect)
{
    // A page of two-byte characters with a candidate at every byte: the
    // boundary check must neither miss the real match nor take a trail byte.
    std::string text(100001, '\xB0');
    text += "\xB1\xB0";
    EXPECT_EQ(Call(CoreCommand::FindText, {Text(text), Text("\xB0\xB1")}).Int(), 100001);
    EXPECT_EQ(Call(CoreCommand::FindText, {Text(text), Text("\xB1\xB0")}).Int(), -1);
    EXPECT_EQ(Call(CoreCommand::FindTextBackward, {Text(text), Text("\xB0\xB0")}).Int(), 99999);
}

}  // namespace
