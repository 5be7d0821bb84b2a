#include <gtest/gtest.h>

#include "platform/base/LastError.h"
#include "platform/codepage/CodePage.h"
#include "platform/codepage/WideCharApi.h"

namespace {

using namespace vellumry::codepage;

struct Sample {
    const char* utf8;
    const char* gbk;
};

class CodePageRoundTrip : public ::testing::TestWithParam<Sample> {};

TEST_P(CodePageRoundTrip, ConvertsBothWays)
{
    const Sample& s = GetParam();
    EXPECT_EQ(Utf8ToGbk(s.utf8), s.gbk);
    EXPECT_EQ(GbkToUtf8(s.gbk), s.utf8);
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16(s.gbk)), s.gbk);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s.utf8)), s.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodePageRoundTrip,
                         ::testing::Values(Sample{"", ""}, Sample{"abc 123", "abc 123"},
                                           Sample{"错误", "\xB4\xED\xCE\xF3"},
                                           Sample{"解析完成", "\xBD\xE2\xCE\xF6\xCD\xEA\xB3\xC9"},
                                           Sample{"a中b", "a\xD6\xD0" "b"},
                                           // Ideographic space, full-width digit one.
                                           Sample{"\xE3\x80\x80\xEF\xBC\x91", "\xA1\xA1\xA3\xB1"}));

TEST(CodePage, Utf16HoldsOneUnitPerCharacter)
{
    EXPECT_EQ(GbkToUtf16("\xD6\xD0\xCE\xC4"), u"中文");
    EXPECT_EQ(Utf16ToGbk(u"中文x"), "\xD6\xD0\xCE\xC4x");
}

TEST(CodePage, InvalidBytesAreReplacedNotDropped)
{
    // A lead byte at the very end and an invalid pair in the middle.
    EXPECT_EQ(GbkToUtf8("ab\xD6"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(GbkToUtf8("\xFF\xFFz"), "\xEF\xBF\xBD\xEF\xBF\xBDz");
    EXPECT_FALSE(IsValidGbk("ab\xD6"));
    EXPECT_TRUE(IsValidGbk("ab\xD6\xD0"));
    // A character outside code page 936 becomes '?'.
    EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");
    EXPECT_FALSE(IsEncodableAsGbk(u"\U0001F600"));
}

TEST(CodePage, ConversionIntoABufferAsLongAsTheBytesFits)
{
    for (std::string gbk : {std::string("plain"), std::string("\xD6\xD0\xCE\xC4x"), std::string("ab\xD6"),
                            std::string("\xFF\xFF\x81\x20z"), std::string()}) {
        std::u16string buffer(gbk.size(), u'#');
        std::size_t units = GbkToUtf16(gbk, buffer.data());
        EXPECT_EQ(buffer.substr(0, units), GbkToUtf16(gbk)) << gbk;
    }
}

TEST(CodePage, TrailByteThatLooksLikeBackslashSurvives)
{
    // 0x5C is a valid GBK trail byte; the conversion must keep the pair.
    std::string gbk = "\x81\x5C";
    std::string utf8 = GbkToUtf8(gbk);
    EXPECT_EQ(utf8.find('\\'), std::string::npos);
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
}

TEST(WideCharApi, SizeQueryAndTerminatorFollowTheDocumentedRules)
{
    const char* text = "\xD6\xD0x";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 3);  // two characters + terminator
    EXPECT_EQ(MultiByteToWideChar(CP_GBK, 0, text, 3, nullptr, 0), 2);
    char16_t buffer[3];
    ASSERT_EQ(MultiByteToWideChar(CP_GBK, 0, text, -1, buffer, 3), 3);
    EXPECT_EQ(std::u16string(buffer), u"中x");

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_GBK, 0, text, -1, buffer, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    EXPECT_EQ(MultiByteToWideChar(CP_GBK, MB_ERR_INVALID_CHARS, "a\xD6", 2, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", 1, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(WideCharApi, WideToMultiByteReportsDefaultCharacterUse)
{
    char out[16];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, u"中\U0001F600", -1, out, sizeof out, "*", &usedDefault);
    ASSERT_EQ(n, 4);
    EXPECT_STREQ(out, "\xD6\xD0*");
    EXPECT_TRUE(usedDefault);

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"中", 1, nullptr, 0, nullptr, nullptr), 3);
    // The UTF-8 code page refuses a default character, as documented.
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"中", 1, out, 16, "?", nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
