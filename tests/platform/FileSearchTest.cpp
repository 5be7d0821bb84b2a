#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/FileSearch.h"
#include "platform/kernel/PathMapping.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using vellumry::kernel::MatchesWildcard;
using vellumry::kernel::ToRuntimePath;
using vellumry::test::Gbk;
using vellumry::test::ScopedTempDir;

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcards, MatchLikeWindows)
{
    const WildcardCase& c = GetParam();
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, Wildcards,
                         ::testing::Values(WildcardCase{"*", "a.txt", true}, WildcardCase{"*.*", "noext", true},
                                           WildcardCase{"*.TXT", "a.txt", true},
                                           WildcardCase{"*.txt", "a.txt.bak", false},
                                           WildcardCase{"a?c", "abc", true}, WildcardCase{"a?c", "ac", false},
                                           WildcardCase{"*b*", "abc", true}, WildcardCase{"a*", "", false},
                                           WildcardCase{"*", "", true}, WildcardCase{"a**c", "abbbc", true},
                                           WildcardCase{"exact.ini", "EXACT.INI", true},
                                           WildcardCase{"exact.ini", "exact.in", false}));

std::vector<std::string> ListAll(const std::string& pattern, std::vector<DWORD>* attributes = nullptr)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(data.cFileName);
        if (attributes)
            attributes->push_back(data.dwFileAttributes);
    } while (FindNextFileA(h, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(h));
    return names;
}

TEST(FileSearch, ListsMatchingEntriesInNameOrderWithDotsFirst)
{
    ScopedTempDir dir;
    dir.Write("b.txt", "12345");
    dir.Write("A.txt", "");
    dir.Write("c.dat", "");
    dir.Write(".hidden", "");
    mkdir(dir.File("sub").c_str(), 0755);
    dir.Write("中文.txt", "");

    std::string folder = ToRuntimePath(dir.Path());
    std::vector<DWORD> attributes;
    auto all = ListAll(folder + "\\*", &attributes);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[0], ".");
    EXPECT_EQ(all[1], "..");
    EXPECT_EQ(attributes[0], FILE_ATTRIBUTE_DIRECTORY);

    auto texts = ListAll(folder + "\\*.TXT");
    EXPECT_EQ(texts, (std::vector<std::string>{"A.txt", "b.txt", Gbk("中文.txt")}));

    std::vector<DWORD> hiddenAttributes;
    auto hidden = ListAll(folder + "\\.h*", &hiddenAttributes);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hiddenAttributes[0], FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
}

TEST(FileSearch, ReportsSizeAndFailuresAsDocumented)
{
    ScopedTempDir dir;
    dir.Write("data.bin", std::string(70000, 'x'));
    std::string folder = ToRuntimePath(dir.Path());
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\data.bin").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 70000u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_FALSE(FindNextFileA(h, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));  // a closed handle is invalid
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    EXPECT_EQ(FindFirstFileA((folder + "\\*.none").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA((folder + "\\missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA((folder + "\\").c_str(), &data), INVALID_HANDLE_VALUE);
}

}  // namespace
