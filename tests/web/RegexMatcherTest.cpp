#include "web/RegexMatcher.h"

#include <gtest/gtest.h>

#include <string>

#include "app/description/DllCommandTable.h"
#include "platform/com/Apartment.h"
#include "platform/com/ClassRegistry.h"
#include "platform/vbscript/RegExpComponent.h"
#include "tests/support/AutomationSetup.h"
#include "tests/support/GbkText.h"
#include "web/ComInit.h"

namespace {

using vellumry::test::Gbk;
using vellumry::test::Utf8;
using vellumry::web::RegexMatcher;

// The program's DLL command table names the exports ComInit and ComUninit
// call at the indexes they use.
static_assert(vellumry::web::kCoInitializeCommand == vellumry::app::kCoInitialize);
static_assert(vellumry::web::kCoUninitializeCommand == vellumry::app::kCoUninitialize);

std::string Str(const vellumry::runtime::OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

class RegexMatcherTest : public ::testing::Test {
protected:
    void SetUp() override { vellumry::test::InstallAutomationForTests(); }
    void TearDown() override
    {
        EXPECT_EQ(vellumry::com::ApartmentInitializations(), 0) << "every ComInit was paired";
    }
};

TEST_F(RegexMatcherTest, LeftOutOptionsIgnoreCaseSpanLinesFindAllAndKeepMarkers)
{
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("^B#引号", "a\nb#引号 B#引号"));
    EXPECT_EQ(matcher.GetMatchCount(), 1) << "only the line start; case ignored";
    EXPECT_EQ(Str(matcher.GetMatchText(1)), "b#引号");
    EXPECT_EQ(Str(matcher.GetPattern()), "^B#引号") << "no quote markers by default";
    ASSERT_TRUE(matcher.Create("x", "x x x"));
    EXPECT_EQ(matcher.GetMatchCount(), 3);
}

TEST_F(RegexMatcherTest, OptionsGivenReachTheComponent)
{
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("^b", "a\nb", true, false, false));
    EXPECT_EQ(matcher.GetMatchCount(), 0) << "not multiline";
    ASSERT_TRUE(matcher.Create("B", "b B B", true, true, false));
    EXPECT_EQ(matcher.GetMatchCount(), 1) << "case-sensitive, first match only";
    std::int32_t position = 0;
    EXPECT_EQ(Str(matcher.GetMatchText(1, &position)), "B");
    EXPECT_EQ(position, 2);
}

TEST_F(RegexMatcherTest, QuoteMarkersBecomeDoubleQuotes)
{
    std::string pattern = Gbk("src=#引号(.*?)#引号 #引x #引");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create(pattern.c_str(), Gbk("<img src=\"a.jpg\" #引x #引>").c_str(), {}, {}, {}, true));
    EXPECT_EQ(Utf8(Str(matcher.GetPattern())), "src=\"(.*?)\" #引x #引");
    EXPECT_EQ(Str(matcher.GetSubMatchText(1, 1)), "a.jpg");
}

TEST_F(RegexMatcherTest, ASubjectWithoutAMatchStillGivesACollection)
{
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.Create("z+", "abc"));
    EXPECT_EQ(matcher.GetMatchCount(), 0);
    EXPECT_EQ(matcher.GetSubMatchCount(), 0);
    std::int32_t position = 99;
    EXPECT_EQ(Str(matcher.GetMatchText(1, &position)), "");
    EXPECT_EQ(position, 0) << "the empty text is found at the first byte";
    EXPECT_TRUE(matcher.Create("z*", ""));
    EXPECT_EQ(Str(matcher.GetMatchText(3, &position)), "");
    EXPECT_EQ(position, -2) << "nothing to search in an empty subject";
}

TEST_F(RegexMatcherTest, PositionsAreByteOffsetsIntoTheGbkSubject)
{
    std::string subject = Gbk("中文图片ab中cd");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("([a-z])([a-z])", subject.c_str()));
    ASSERT_EQ(matcher.GetMatchCount(), 2);
    std::int32_t position = 0;
    EXPECT_EQ(Str(matcher.GetMatchText(1, &position)), "ab");
    EXPECT_EQ(position, 8) << "after four two-byte characters, not at character 4";
    EXPECT_EQ(Str(matcher.GetSubMatchText(2, 2, &position)), "d");
    EXPECT_EQ(position, 13);
    EXPECT_EQ(Str(matcher.GetSubMatchText(2, 3, &position)), "") << "no third group";
}

TEST_F(RegexMatcherTest, TheSearchIgnoresCaseWhenTheComponentDoesNot)
{
    std::string subject = Gbk("中中AB ab");
    RegexMatcher exact;
    ASSERT_TRUE(exact.Create("ab", subject.c_str(), true));
    std::int32_t position = 0;
    EXPECT_EQ(Str(exact.GetMatchText(1, &position)), "ab");
    EXPECT_EQ(position, 4) << "\"IgnoreCase\" reads \"0\": the search stops at the earlier AB";
    RegexMatcher folding;
    ASSERT_TRUE(folding.Create("ab", subject.c_str()));
    EXPECT_EQ(Str(folding.GetMatchText(2, &position)), "ab");
    EXPECT_EQ(position, 7) << "an exact search";
}

TEST_F(RegexMatcherTest, SubMatchCountDescribesTheFirstMatch)
{
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("(a)(b)?|(c)", "c ab"));
    EXPECT_EQ(Str(matcher.GetSubMatchText(2, 1)), "a");
    EXPECT_EQ(matcher.GetSubMatchCount(), 3);
    EXPECT_EQ(Str(matcher.GetSubMatchText(1, 1)), "") << "a group that took no part";
    EXPECT_EQ(Str(matcher.GetSubMatchText(1, 3)), "c");
}

TEST_F(RegexMatcherTest, ReplaceWorksOnTheSubjectGivenToCreate)
{
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("a(\\d)", "a1-a2"));
    EXPECT_EQ(Str(matcher.Replace("<$1>")), "<1>-<2>");
    EXPECT_EQ(Str(matcher.Replace()), "-");
    EXPECT_EQ(Str(matcher.GetMatchText(2)), "a2") << "the subject is unchanged";
}

TEST_F(RegexMatcherTest, CopiesShareTheComponentsObjectsAndPairTheirInitialisation)
{
    auto original = std::make_unique<RegexMatcher>();
    EXPECT_EQ(vellumry::com::ApartmentInitializations(), 1);
    ASSERT_TRUE(original->Create("(\\w)\\w", "ab cd"));
    RegexMatcher copy(*original);
    EXPECT_EQ(vellumry::com::ApartmentInitializations(), 2);
    original.reset();
    EXPECT_EQ(vellumry::com::ApartmentInitializations(), 1);
    EXPECT_EQ(copy.GetMatchCount(), 2);
    EXPECT_EQ(Str(copy.GetSubMatchText(2, 1)), "c");
    EXPECT_EQ(Str(copy.Replace("$1")), "a c");
}

TEST_F(RegexMatcherTest, WithoutTheComponentEveryQueryIsEmpty)
{
    vellumry::com::UnregisterComClass(vellumry::vbscript::kRegExpClassId);
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.Create("a", "aaa"));
    EXPECT_EQ(matcher.GetMatchCount(), 0);
    EXPECT_EQ(matcher.GetSubMatchCount(), 0);
    EXPECT_EQ(Str(matcher.GetMatchText(1)), "");
    EXPECT_EQ(Str(matcher.GetSubMatchText(1, 1)), "");
    EXPECT_EQ(Str(matcher.GetPattern()), "");
    EXPECT_EQ(Str(matcher.Replace("x")), "");
    vellumry::vbscript::RegisterRegExpComponent();
}

TEST_F(RegexMatcherTest, AHostilePageGivesNoMatchesInsteadOfHanging)
{
    std::string page(50'000, 'a');
    page += '!';
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.Create("(a+)+$", page.c_str(), true, false, true));
    EXPECT_EQ(matcher.GetMatchCount(), 0);
}

TEST_F(RegexMatcherTest, BrokenGbkBytesDoNotStopTheMatch)
{
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Create("ab", "\x81\x20\xFF" "ab\x81"));
    ASSERT_EQ(matcher.GetMatchCount(), 1);
    std::int32_t position = 0;
    EXPECT_EQ(Str(matcher.GetMatchText(1, &position)), "ab");
    EXPECT_EQ(position, 3);
}

// The two patterns of the gallery page parser, against a page in the layout
// they expect.
TEST_F(RegexMatcherTest, TheGalleryPatternsFindTheSectionAndItsPictures)
{
    const std::string host = "http://127.0.0.1:8080";
    std::string page = Gbk(
        "<html><head><title>图集</title></head><body>\n"
        "<div class=\"nav\"><img src=\"" + host + "/740x-/uploadImages/logo.png\"></div>\n"
        "<div class=\"share\">分享到：微博</div>\n"
        "<div class=\"pics\">\n"
        "<p><img src=\"" + host + "/740x-/uploadImages/2024/01/a1.jpg\" alt=\"第一张\"></p>\n"
        "<p><IMG SRC=\"" + host + "/740x-/uploadImages/2024/01/b2.jpg\"></p>\n"
        "<p><img src=\"http://other.example/740x-/uploadImages/c3.jpg\"></p>\n"
        "<p><img src=\"" + host + "/740x-/uploadImages/2024/01/d4.jpg\" /></p>\n"
        "</div><!--大图默认END--><div>分享</div><!--大图默认end-->\n"
        "</body></html>\n");

    RegexMatcher section;
    ASSERT_TRUE(section.Create(Gbk("分享([\\S\\s]*?)<!--大图默认end-->").c_str(), page.c_str(), false, false, true, true));
    vellumry::runtime::OwnedText cut = section.GetSubMatchText(1, 1);
    ASSERT_TRUE(cut);
    EXPECT_EQ(std::string(cut.get()).find("logo.png"), std::string::npos) << "the section starts after 分享";
    EXPECT_NE(std::string(cut.get()).find("d4.jpg"), std::string::npos);

    std::string picture = "<img src=#引号" + host + "/740x-/uploadImages/(.*?)#引号([\\S\\s]*?)";
    RegexMatcher pictures;
    ASSERT_TRUE(pictures.Create(Gbk(picture).c_str(), cut.get(), false, false, true, true));
    ASSERT_EQ(pictures.GetMatchCount(), 3);
    EXPECT_EQ(Str(pictures.GetSubMatchText(1, 1)), "2024/01/a1.jpg");
    EXPECT_EQ(Str(pictures.GetSubMatchText(2, 1)), "2024/01/b2.jpg") << "case is ignored";
    EXPECT_EQ(Str(pictures.GetSubMatchText(3, 1)), "2024/01/d4.jpg") << "another host's picture is left out";
    EXPECT_EQ(Str(pictures.GetSubMatchText(3, 2)), "") << "the second group is always empty";
    EXPECT_EQ(pictures.GetSubMatchCount(), 2);
}

}  // namespace
