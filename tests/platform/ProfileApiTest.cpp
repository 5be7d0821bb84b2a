#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/ProfileApi.h"
#include "platform/kernel/ScopedHandle.h"
#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RowLabel;
using namespace vellumry::kernel;
using vellumry::test::Gbk;
using vellumry::test::ReadHostFile;
using vellumry::test::ScopedTempDir;

// ---- Reading: one table of documented cases ------------------------------

struct ReadCase {
    const char* label;
    std::optional<std::string> content;  // none: no file
    std::string section;
    std::string key;
    const char* defaultValue;
    DWORD size;
    std::string expected;
    DWORD lastError;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesTheValueOrTheDefaultWithinTheBuffer)
{
    const ReadCase& c = GetParam();
    ScopedTempDir dir;
    std::string host = dir.File("settings.ini");
    if (c.content)
        dir.Write("settings.ini", *c.content);
    std::string buffer(c.size + 8, '#');
    DWORD returned = GetPrivateProfileStringA(c.section.c_str(), c.key.c_str(), c.defaultValue, buffer.data(), c.size,
                                              ToRuntimePath(host).c_str());
    EXPECT_EQ(GetLastError(), c.lastError);
    EXPECT_EQ(std::string(buffer.c_str()), c.expected);
    EXPECT_EQ(returned, c.expected.size()) << "the return counts the bytes copied";
    EXPECT_EQ(buffer[c.size], '#') << "nothing is written beyond the buffer";
}

const std::string kEditSection = Gbk("编辑框");
const std::string kStartKey = Gbk("编辑框_起始页码");
const std::string kGbkValue = Gbk("第一页＼表") + "\x81\x5C";

INSTANTIATE_TEST_SUITE_P(
    ProfileApi, ProfileRead,
    ::testing::Values(
        ReadCase{"PlainValue", "[s]\r\nk=v\r\n", "s", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"GbkNamesAndValue", "[" + kEditSection + "]\r\n" + kStartKey + "=" + kGbkValue + "\r\n",
                 kEditSection, kStartKey, "", 64, kGbkValue, ERROR_SUCCESS},
        ReadCase{"NamesWithoutLetterCase", "[Main]\r\nWidth=640\r\n", "mAIN", "WIDTH", "", 64, "640", ERROR_SUCCESS},
        ReadCase{"BlanksAroundNamesAndValue", " \t[ Main ]\t\r\n  Width \t=  6 4  \r\n", "Main", "Width", "", 64, "6 4",
                 ERROR_SUCCESS},
        ReadCase{"BlanksAroundTheCallersNames", "[Main]\r\nWidth=640\r\n", " Main\t", " Width ", "", 64, "640",
                 ERROR_SUCCESS},
        ReadCase{"DoubleQuotesStripped", "[s]\r\nk= \" a b \" \r\n", "s", "k", "", 64, " a b ", ERROR_SUCCESS},
        ReadCase{"SingleQuotesStripped", "[s]\r\nk='x'\r\n", "s", "k", "", 64, "x", ERROR_SUCCESS},
        ReadCase{"UnmatchedQuotesKept", "[s]\r\nk=\"x'\r\n", "s", "k", "", 64, "\"x'", ERROR_SUCCESS},
        ReadCase{"LoneQuoteKept", "[s]\r\nk=\"\r\n", "s", "k", "", 64, "\"", ERROR_SUCCESS},
        ReadCase{"InnerQuotesKept", "[s]\r\nk=a\"b\"\r\n", "s", "k", "", 64, "a\"b\"", ERROR_SUCCESS},
        ReadCase{"ValueHoldingEquals", "[s]\r\nk=a=b\r\n", "s", "k", "", 64, "a=b", ERROR_SUCCESS},
        ReadCase{"EmptyValueIsNotTheDefault", "[s]\r\nk=\r\n", "s", "k", "dflt", 64, "", ERROR_SUCCESS},
        ReadCase{"MissingFile", std::nullopt, "s", "k", "dflt", 64, "dflt", ERROR_FILE_NOT_FOUND},
        ReadCase{"MissingKey", "[s]\r\nother=1\r\n", "s", "k", "d", 64, "d", ERROR_FILE_NOT_FOUND},
        ReadCase{"MissingSection", "[t]\r\nk=1\r\n", "s", "k", "d", 64, "d", ERROR_FILE_NOT_FOUND},
        ReadCase{"KeyBeforeAnySection", "k=1\r\n[s]\r\n", "s", "k", "d", 64, "d", ERROR_FILE_NOT_FOUND},
        ReadCase{"KeyOfTheNextSection", "[s]\r\n[t]\r\nk=1\r\n", "s", "k", "d", 64, "d", ERROR_FILE_NOT_FOUND},
        ReadCase{"DefaultLosesTrailingBlanks", std::nullopt, "s", "k", " ab \t ", 64, " ab", ERROR_FILE_NOT_FOUND},
        ReadCase{"NullDefaultIsEmpty", std::nullopt, "s", "k", nullptr, 64, "", ERROR_FILE_NOT_FOUND},
        ReadCase{"ValueCutToSizeLessOne", "[s]\r\nk=abcdef\r\n", "s", "k", "", 4, "abc", ERROR_SUCCESS},
        ReadCase{"ValueFillingTheBuffer", "[s]\r\nk=abc\r\n", "s", "k", "", 4, "abc", ERROR_SUCCESS},
        ReadCase{"BufferOfOneByte", "[s]\r\nk=abc\r\n", "s", "k", "", 1, "", ERROR_SUCCESS},
        ReadCase{"DefaultCutToo", std::nullopt, "s", "k", "abcdef", 3, "ab", ERROR_FILE_NOT_FOUND},
        ReadCase{"TrailByteWithTheCodeOfBracket", "[\x81]x]\r\nk=v\r\n", "\x81]x", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"TrailByteLetterIsNotFolded", "[\x81\x61]\r\nk=v\r\n", "\x81\x41", "k", "d", 64, "d",
                 ERROR_FILE_NOT_FOUND},
        ReadCase{"LineFeedLineEnds", "[s]\nk=v\n", "s", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"CarriageReturnLineEnds", "[s]\rk=v\r", "s", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"NoFinalLineEnd", "[s]\r\nk=v", "s", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"FirstSectionOfTheNameWins", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "", 64, "1", ERROR_SUCCESS},
        ReadCase{"FirstKeyOfTheNameWins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "", 64, "1", ERROR_SUCCESS},
        ReadCase{"CommentIsNoKey", "[s]\r\n;k=1\r\n", "s", ";k", "d", 64, "d", ERROR_FILE_NOT_FOUND},
        ReadCase{"GarbageLinesMeanNothing", "\x01\x02garbage\r\n[[[\r\n=\r\n]\r\n[s]\r\n???\r\n\xFF\xFE\r\nk=v\r\n", "s",
                 "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"HeaderWithoutClosingBracket", "[s\r\nk=v\r\n", "s", "k", "", 64, "v", ERROR_SUCCESS},
        ReadCase{"DanglingLeadByteAtLineEnd", "[s]\r\nk=v\xB0\r\nj=w\r\n", "s", "j", "", 64, "w", ERROR_SUCCESS}),
    RowLabel());

TEST(ProfileApi, ZeroByteInsideAValueEndsIt)
{
    ScopedTempDir dir;
    static const char kContent[] = "[s]\r\nk=ab\0cd\r\n";
    std::string host = dir.Write("z.ini", std::string(kContent, sizeof kContent - 1));
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, ToRuntimePath(host).c_str()), 2u);
    EXPECT_STREQ(buffer, "ab");
}

TEST(ProfileApi, VeryLongLinesAreReadAndCutToTheBuffer)
{
    ScopedTempDir dir;
    std::string longValue(20000, 'x');
    std::string junk(1 << 20, 'j');  // one 1 MB line before the section
    std::string host = dir.Write("long.ini", junk + "\r\n[s]\r\nk=" + longValue + "\r\n" + "m=1");
    std::vector<char> buffer(10240);
    DWORD n = GetPrivateProfileStringA("s", "k", "", buffer.data(), 10240, ToRuntimePath(host).c_str());
    EXPECT_EQ(n, 10239u);
    EXPECT_EQ(std::string(buffer.data()), longValue.substr(0, 10239));
    EXPECT_EQ(GetPrivateProfileStringA("s", "m", "", buffer.data(), 10240, ToRuntimePath(host).c_str()), 1u);
}

TEST(ProfileApi, UnreadableFilesGiveTheDefaultWithTheirOwnError)
{
    ScopedTempDir dir;
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, ToRuntimePath(dir.Path()).c_str()), 1u);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << "a folder is no settings file";
    EXPECT_STREQ(buffer, "d");

    std::string big = dir.Write("big.ini", "[s]\r\nk=v\r\n" + std::string(kMaxProfileFileSize, ';'));
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, ToRuntimePath(big).c_str()), 1u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_TOO_LARGE);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", ToRuntimePath(big).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_TOO_LARGE);

    std::string held = ToRuntimePath(dir.Write("held.ini", "[s]\r\nk=v\r\n"));
    ScopedHandle exclusive(CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive.IsValid());
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, held.c_str()), 1u);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "w", held.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
}

TEST(ProfileApi, ListingFormsAreNotOffered)
{
    ScopedTempDir dir;
    std::string file = ToRuntimePath(dir.Write("s.ini", "[s]\r\nk=v\r\n"));
    char buffer[16] = "junk";
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, "k", "d", buffer, sizeof buffer, file.c_str()), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetPrivateProfileStringA("s", nullptr, "d", buffer, sizeof buffer, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, 0, file.c_str()), 0u);
}

// ---- Writing: one table of documented cases ------------------------------

struct WriteCase {
    const char* label;
    const char* before;  // null: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;  // null: no file
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, EditsTheFileKeepingEverythingElse)
{
    const WriteCase& c = GetParam();
    ScopedTempDir dir;
    std::string host = dir.File("settings.ini");
    if (c.before)
        dir.Write("settings.ini", c.before);
    EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, ToRuntimePath(host).c_str())) << GetLastError();
    if (c.after) {
        EXPECT_EQ(ReadHostFile(host), c.after);
    } else {
        EXPECT_FALSE(HostFileExists(host));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProfileApi, ProfileWrite,
    ::testing::Values(
        WriteCase{"CreatesFileAndSection", nullptr, "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"AddsSectionAtTheEnd", "[a]\r\nx=1\r\n", "s", "k", "v", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"AddsSectionAfterALastLineWithoutLineEnd", "[a]\r\nx=1", "s", "k", "v",
                  "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"ReplacesTheValueInPlace", "; top\r\n[s]\r\na=1\r\n k = old \r\n; note\r\nb=2\r\n", "s", "k", "new",
                  "; top\r\n[s]\r\na=1\r\nk=new\r\n; note\r\nb=2\r\n"},
        WriteCase{"MatchesNamesWithoutCase", "[S]\r\nK=old\r\n", "s", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"NewKeyAfterTheSectionsLastEntry", "[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\nb=2\r\n"},
        WriteCase{"NewKeyInTheLastSection", "[s]\r\na=1\r\n\r\n", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n\r\n"},
        WriteCase{"NewKeyInTheFirstOfTwoSectionsOfTheName", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", "s", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n[s]\r\nb=2\r\n"},
        WriteCase{"RewritesWithCrLf", "[s]\na=1\rb=2\n", "s", "k", "v", "[s]\r\na=1\r\nb=2\r\nk=v\r\n"},
        WriteCase{"KeepsGarbageAndGbkBytes", "\xFF\xFE?\r\n[\x81]x]\r\n\xB1\xED=\xB0\r\n", "\x81]x", "k",
                  "\xB5\xDA\x81\x5C", "\xFF\xFE?\r\n[\x81]x]\r\n\xB1\xED=\xB0\r\nk=\xB5\xDA\x81\x5C\r\n"},
        WriteCase{"EmptyValue", "[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        WriteCase{"ValueWrittenAsGiven", nullptr, "s", "k", " v ", "[s]\r\nk= v \r\n"},
        WriteCase{"NullValueRemovesTheKey", "[s]\r\na=1\r\nk=2\r\nb=3\r\n", "s", "k", nullptr, "[s]\r\na=1\r\nb=3\r\n"},
        WriteCase{"NullValueRemovesEveryCopyOfTheKey", "[s]\r\nk=1\r\n[t]\r\nk=t\r\n[S]\r\nK=2\r\n", "s", "k",
                  nullptr, "[s]\r\n[t]\r\nk=t\r\n[S]\r\n"},
        WriteCase{"NullKeyRemovesTheSection", "; c\r\n[a]\r\nx=1\r\n[s]\r\nk=1\r\n; inside\r\n[b]\r\ny=2\r\n[S]\r\nz=3",
                  "s", nullptr, nullptr, "; c\r\n[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
        WriteCase{"RemovingAMissingKeyLeavesTheFileAlone", "[s]\na=1\n", "s", "k", nullptr, "[s]\na=1\n"},
        WriteCase{"RemovingAMissingSectionLeavesTheFileAlone", "[t]\na=1", "s", nullptr, nullptr, "[t]\na=1"},
        WriteCase{"RemovingFromNoFileCreatesNone", nullptr, "s", "k", nullptr, nullptr}),
    RowLabel());

TEST(ProfileApi, WhatIsWrittenReadsBack)
{
    ScopedTempDir dir;
    std::string file = ToRuntimePath(dir.File("用户配置.ini"));
    std::string value = Gbk("第一行") + "><br><" + Gbk("第二行");
    ASSERT_TRUE(WritePrivateProfileStringA(kEditSection.c_str(), kStartKey.c_str(), value.c_str(), file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA(kEditSection.c_str(), "other", "2", file.c_str()));
    char buffer[128];
    EXPECT_EQ(GetPrivateProfileStringA(kEditSection.c_str(), kStartKey.c_str(), "", buffer, sizeof buffer,
                                       file.c_str()),
              value.size());
    EXPECT_EQ(std::string(buffer), value);
}

TEST(ProfileApi, WritesThatCannotHappenFail)
{
    ScopedTempDir dir;
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", ToRuntimePath(dir.File("missing/s.ini")).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", ToRuntimePath(dir.Path()).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", ToRuntimePath(dir.File("s.ini")).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", nullptr));

    std::string locked = dir.Write("locked.ini", "[s]\r\nk=old\r\n");
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "new", ToRuntimePath(locked).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadHostFile(locked), "[s]\r\nk=old\r\n");
}

TEST(ProfileApi, ConcurrentWritersKeepEachOthersKeys)
{
    ScopedTempDir dir;
    std::string file = ToRuntimePath(dir.File("shared.ini"));
    constexpr int kKeysPerThread = 40;
    auto writer = [&](char prefix) {
        for (int i = 0; i < kKeysPerThread; ++i) {
            std::string key = prefix + std::to_string(i);
            EXPECT_TRUE(WritePrivateProfileStringA("s", key.c_str(), key.c_str(), file.c_str())) << GetLastError();
        }
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    char buffer[16];
    for (char prefix : {'a', 'b'})
        for (int i = 0; i < kKeysPerThread; ++i) {
            std::string key = prefix + std::to_string(i);
            GetPrivateProfileStringA("s", key.c_str(), "", buffer, sizeof buffer, file.c_str());
            EXPECT_EQ(std::string(buffer), key);
        }
}

}  // namespace
