#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"
#include "web/Base64.h"
#include "web/CookieText.h"
#include "web/HeaderText.h"

namespace {

using namespace vellumry::web;
using vellumry::test::Gbk;
using vellumry::test::PrintTo;
using vellumry::test::RowLabel;

struct CutRow {
    const char* label;
    std::string text;
    std::string left;
    std::string right;
    int start;
    bool ignoreCase;
    std::string between;
    std::string before;  // TextBefore of the text and `left`
};

class TextCutting : public ::testing::TestWithParam<CutRow> {};

TEST_P(TextCutting, CutsBetweenAndBeforeMarkers)
{
    const CutRow& row = GetParam();
    EXPECT_EQ(TextBetween(row.text, row.left, row.right, row.start, row.ignoreCase), row.between);
    EXPECT_EQ(TextBefore(row.text, row.left, row.start, row.ignoreCase), row.before);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, TextCutting,
    ::testing::Values(
        CutRow{"Plain", "a[b]c", "[", "]", 1, false, "b", "a"},
        CutRow{"LeftWithoutRight", "a[bc", "[", "]", 1, false, "", "a"},
        CutRow{"RightOnlyBeforeLeft", "]a[b", "[", "]", 1, false, "", "]a"},
        CutRow{"MissingLeft", "abc", "[", "]", 1, false, "", ""},
        CutRow{"EmptyBetween", "a[]c", "[", "]", 1, false, "", "a"},
        CutRow{"QuoteMarkerOnTheRight", "<img src=\"x.jpg\" alt", "src=\"", Gbk("#引号"), 1, false, "x.jpg", "<img "},
        CutRow{"QuoteMarkersOnBothSides", "<a \"k\">", Gbk("#引号"), Gbk("#引号"), 1, false, "k", ""},
        CutRow{"StartSkipsEarlierMarker", "[a][b]", "[", "]", 2, false, "b", "[a]"},
        CutRow{"StartBelowOneCountsAsOne", "[a]", "[", "]", -5, false, "a", ""},
        CutRow{"ExactByDefault", "X-Name:v;", "x-name:", ";", 1, false, "", ""},
        CutRow{"IgnoringCase", "X-Name:v;", "x-name:", ";", 1, true, "v", ""},
        // The trail byte of a two-byte character is never the start of a
        // match: 0xB0 0x5B is one character, so "[" is found only after it.
        CutRow{"NoMatchInsideTwoByteCharacter", "\xB0[x[y]", "[", "]", 1, false, "y", "\xB0[x"}),
    RowLabel());

struct HeaderRow {
    const char* label;
    std::string line;
    std::string name;
    std::string value;
};

class HeaderLines : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(HeaderLines, SplitAtTheFirstColon)
{
    EXPECT_EQ(HeaderName(GetParam().line), GetParam().name);
    EXPECT_EQ(HeaderValue(GetParam().line), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HeaderLines,
    ::testing::Values(HeaderRow{"Accept", "Accept: */*", "Accept", "*/*"},
                      HeaderRow{"ValueWithColon", "Host: a:80", "Host", "a:80"},
                      HeaderRow{"NoColon", "garbage", "", ""},
                      HeaderRow{"BlanksTrimmed", Gbk("\u3000 X :  v \u3000"), "X", "v"},
                      HeaderRow{"TabsAreNoBlanks", "\tX:\tv", "\tX", "\tv"},
                      HeaderRow{"EmptyValue", "X:", "X", ""}),
    RowLabel());

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

struct Base64Row {
    const char* label;
    std::string data;
    std::string encoded;
};

class Base64Encoding : public ::testing::TestWithParam<Base64Row> {};

TEST_P(Base64Encoding, UsesTheStandardAlphabetAndFill)
{
    const std::string& data = GetParam().data;
    EXPECT_EQ(Base64Encode({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Data, Base64Encoding,
                         ::testing::Values(Base64Row{"Empty", "", ""}, Base64Row{"ThreeBytes", "abc", "YWJj"},
                                           Base64Row{"TwoBytes", "ab", "YWI="}, Base64Row{"OneByte", "a", "YQ=="},
                                           Base64Row{"Credentials", "user:pa ss", "dXNlcjpwYSBzcw=="},
                                           Base64Row{"HighBytes", std::string("\xFF\xFE\x00", 3), "//4A"},
                                           Base64Row{"NoLineBreaks", std::string(60, 'x'), Repeat("eHh4", 20)}),
                         RowLabel());

struct MergeRow {
    const char* label;
    std::string oldCookies;
    std::string newCookies;
    std::string merged;
};

class CookieMerging : public ::testing::TestWithParam<MergeRow> {};

TEST_P(CookieMerging, PutsTheServersCookiesFirst)
{
    std::string oldCookies = GetParam().oldCookies;
    std::string newCookies = GetParam().newCookies;
    EXPECT_EQ(MergeCookies(oldCookies, newCookies), GetParam().merged);
    EXPECT_EQ(oldCookies, GetParam().merged) << "the old variable receives the result";
}

INSTANTIATE_TEST_SUITE_P(
    Cookies, CookieMerging,
    ::testing::Values(MergeRow{"ServerReplacesAndAdds", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
                      MergeRow{"DeletedIsDropped", "a=1; b=2", "b=deleted", "a=1"},
                      MergeRow{"BothEmpty", "", "", ""},
                      MergeRow{"OnlyOld", "a=1", "", "a=1"},
                      MergeRow{"OnlyNew", "", "a=1", "a=1"},
                      MergeRow{"SpacesInValuesAreLost", "a=x y", "", "a=xy"},
                      MergeRow{"FirstOfRepeatedOldNames", "a=1; a=2", "b=1", "b=1; a=1"},
                      MergeRow{"ExactDuplicatesOnce", "", "a=1; a=1", "a=1"},
                      MergeRow{"ItemWithoutEquals", "flag", "a=1", "a=1; flag"},
                      MergeRow{"IdeographicSpaceIsABlank", Gbk("a=1;\u3000b=2"), "", "a=1; b=2"}),
    RowLabel());

TEST(CookieMerging, LeavesTheStrippedNewTextInItsVariable)
{
    std::string oldCookies = "a=1";
    std::string newCookies = " b = 2 ";
    MergeCookies(oldCookies, newCookies);
    EXPECT_EQ(newCookies, "b=2");
}

TEST(CookieNames, AreTheTrimmedTextBeforeTheFirstEquals)
{
    EXPECT_EQ(CookieName(" sid = x=y"), "sid");
    EXPECT_EQ(CookieName(" flag "), "flag");
    EXPECT_EQ(CookieName("=v"), "");
}

TEST(UniqueJoins, KeepFirstOccurrencesInOrder)
{
    EXPECT_EQ(UniqueJoin("b; a; b; c; a", "; "), "b; a; c");
    EXPECT_EQ(UniqueJoin("a;;b;", ";"), "a;;b");
    EXPECT_EQ(UniqueJoin("", "; "), "");
}

}  // namespace
