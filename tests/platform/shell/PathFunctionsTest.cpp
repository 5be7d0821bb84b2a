#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"
#include "platform/shell/DirectoryPath.h"
#include "platform/shell/PathFunctions.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using vellumry::kernel::ToRuntimePath;
using vellumry::test::Gbk;

bool IsHostFolder(const std::string& hostPath)
{
    struct stat info {};
    return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct PathCase {
    const char* path;   // UTF-8, turned into GBK
    const char* found;  // UTF-8: the text from the returned address on
};

// Both functions answer an address inside the caller's text; the cases check
// where it points by the text from there on.
TEST(PathFindFileName, FindsTheLastNameAfterASeparator)
{
    const PathCase cases[] = {
        {"C:\\pics\\2024\\7.jpg", "7.jpg"},
        {"C:\\pics\\2024\\", "2024\\"},  // a trailing separator belongs to the last name
        {"C:\\", "C:\\"},
        {"C:name.txt", "name.txt"},
        {"name.txt", "name.txt"},
        {"pics/2024/7.jpg", "7.jpg"},
        {"", ""},
        // "乗" is 0x81 0x5C in GBK: its trail byte is not a separator.
        {"D:\\乗图\\乗.jpg", "乗.jpg"},
        {"D:\\图片乗", "图片乗"},
    };
    for (const PathCase& c : cases) {
        std::string path = Gbk(c.path);
        LPSTR name = PathFindFileNameA(path.c_str());
        ASSERT_GE(name, path.c_str()) << c.path;
        ASSERT_LE(name, path.c_str() + path.size()) << c.path;
        EXPECT_EQ(std::string(name), Gbk(c.found)) << c.path;
    }
    EXPECT_EQ(PathFindFileNameA(nullptr), nullptr);
}

TEST(PathFindExtension, FindsTheDotOfTheLastPartOrTheEnd)
{
    const PathCase cases[] = {
        {"C:\\pics\\7.jpg", ".jpg"},
        {"archive.tar.gz", ".gz"},
        {"C:\\dir.d\\name", ""},     // the dot belongs to a folder
        {"C:\\pics\\name.jp g", ""},  // a space ends the candidate
        {"C:\\pics\\name.", "."},
        {"noextension", ""},
        {"D:\\乗\\图.jpg", ".jpg"},
    };
    for (const PathCase& c : cases) {
        std::string path = Gbk(c.path);
        LPSTR extension = PathFindExtensionA(path.c_str());
        ASSERT_GE(extension, path.c_str()) << c.path;
        ASSERT_LE(extension, path.c_str() + path.size()) << c.path;
        EXPECT_EQ(std::string(extension), Gbk(c.found)) << c.path;
    }
    // No extension: the address of the terminating zero, not any zero.
    std::string plain = "C:\\pics\\name";
    EXPECT_EQ(PathFindExtensionA(plain.c_str()), plain.c_str() + plain.size());
    EXPECT_EQ(PathFindExtensionA(nullptr), nullptr);
}

TEST(PathIsDirectory, AnswersTheDirectoryAttributeForFoldersOnly)
{
    vellumry::test::ScopedTempDir dir;
    const std::string folder = dir.Path() + "/图片";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string file = dir.Write("7.jpg", "x");

    EXPECT_EQ(PathIsDirectoryA(ToRuntimePath(folder).c_str()), 16);
    EXPECT_EQ(PathIsDirectoryA((ToRuntimePath(folder) + "\\").c_str()), 16);
    EXPECT_EQ(PathIsDirectoryA(ToRuntimePath(file).c_str()), FALSE);
    EXPECT_EQ(PathIsDirectoryA(ToRuntimePath(dir.File("missing")).c_str()), FALSE);
    EXPECT_EQ(PathIsDirectoryA(""), FALSE);
    EXPECT_EQ(PathIsDirectoryA(nullptr), FALSE);
}

TEST(MakeSureDirectoryPathExists, CreatesEveryFolderFollowedByASeparator)
{
    vellumry::test::ScopedTempDir dir;
    const std::string base = ToRuntimePath(dir.Path());

    // Nested folders, one with a GBK name whose trail byte is "\".
    ASSERT_TRUE(MakeSureDirectoryPathExists((base + Gbk("\\data\\乗图\\")).c_str()));
    EXPECT_TRUE(IsHostFolder(dir.Path() + "/data/乗图"));
    // Nothing else was made: no folder cut at the trail byte.
    std::vector<std::string> made;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/data"))
        made.push_back(entry.path().filename().string());
    EXPECT_EQ(made, std::vector<std::string>{"乗图"});

    // The part after the last separator is a file name and is not created.
    ASSERT_TRUE(MakeSureDirectoryPathExists((base + "\\pics\\setsoft.ini").c_str()));
    EXPECT_TRUE(IsHostFolder(dir.Path() + "/pics"));
    struct stat info {};
    EXPECT_NE(stat((dir.Path() + "/pics/setsoft.ini").c_str(), &info), 0);

    // Folders that exist already are fine.
    EXPECT_TRUE(MakeSureDirectoryPathExists((base + "\\data\\").c_str()));
}

TEST(MakeSureDirectoryPathExists, FailsWithTheLastErrorWhenAFolderCannotBeMade)
{
    vellumry::test::ScopedTempDir dir;
    dir.Write("taken", "a file in the way");
    const std::string base = ToRuntimePath(dir.Path());

    SetLastError(0);
    EXPECT_FALSE(MakeSureDirectoryPathExists((base + "\\taken\\below\\").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(IsHostFolder(dir.Path() + "/taken/below"));

    ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
    SetLastError(0);
    bool made = MakeSureDirectoryPathExists((base + "\\locked\\").c_str());
    chmod(dir.Path().c_str(), 0700);
    if (geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(made);
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }

    SetLastError(0);
    EXPECT_FALSE(MakeSureDirectoryPathExists(""));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(MakeSureDirectoryPathExists(nullptr));
}

}  // namespace
