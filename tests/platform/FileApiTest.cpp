#include <gtest/gtest.h>

#include <string>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/PathMapping.h"
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

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD disposition, DWORD attributes = 0)
{
    return CreateFileA(name.c_str(), access, share, nullptr, disposition, attributes, nullptr);
}

std::string Runtime(const std::string& host)
{
    return ToRuntimePath(host);
}

// ---- Dispositions ---------------------------------------------------------

struct DispositionCase {
    const char* label;
    DWORD disposition;
    bool fileExists;
    bool opens;
    DWORD lastError;
    const char* contentAfter;  // null: no file afterwards
};

class Disposition : public ::testing::TestWithParam<DispositionCase> {};

TEST_P(Disposition, OpensCreatesTruncatesAndReportsAsDocumented)
{
    const DispositionCase& c = GetParam();
    ScopedTempDir dir;
    std::string host = dir.File("f.bin");
    if (c.fileExists)
        dir.Write("f.bin", "old");
    SetLastError(12345);
    ScopedHandle file(Open(Runtime(host), GENERIC_WRITE, 0, c.disposition));
    EXPECT_EQ(file.IsValid(), c.opens);
    EXPECT_EQ(GetLastError(), c.lastError);
    file.Close();
    if (c.contentAfter) {
        EXPECT_EQ(ReadHostFile(host), c.contentAfter);
    } else {
        EXPECT_FALSE(HostFileExists(host));
    }
}

INSTANTIATE_TEST_SUITE_P(
    FileApi, Disposition,
    ::testing::Values(DispositionCase{"CreateNewMissing", CREATE_NEW, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{"CreateNewExisting", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
                      DispositionCase{"CreateAlwaysMissing", CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{"CreateAlwaysExisting", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
                      DispositionCase{"OpenExistingMissing", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
                      DispositionCase{"OpenExistingExisting", OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
                      DispositionCase{"OpenAlwaysMissing", OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{"OpenAlwaysExisting", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
                      DispositionCase{"TruncateMissing", TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
                      DispositionCase{"TruncateExisting", TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
                      DispositionCase{"BadDisposition", 9, true, false, ERROR_INVALID_PARAMETER, "old"}),
    RowLabel());

// ---- Sharing between openers ----------------------------------------------

struct SharingCase {
    const char* label;
    DWORD firstAccess;
    DWORD firstShare;
    DWORD secondAccess;
    DWORD secondShare;
    bool secondOpens;
};

class Sharing : public ::testing::TestWithParam<SharingCase> {};

TEST_P(Sharing, SecondOpenerIsAdmittedOnlyWhenBothShareModesAllowIt)
{
    const SharingCase& c = GetParam();
    ScopedTempDir dir;
    std::string name = Runtime(dir.Write("shared.txt", "content"));
    ScopedHandle first(Open(name, c.firstAccess, c.firstShare, OPEN_EXISTING));
    ASSERT_TRUE(first.IsValid()) << GetLastError();
    ScopedHandle second(Open(name, c.secondAccess, c.secondShare, OPEN_EXISTING));
    EXPECT_EQ(second.IsValid(), c.secondOpens);
    if (!c.secondOpens) {
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    // Once the first opener has gone, the second may open whatever it asks.
    first.Close();
    second.Close();
    ScopedHandle again(Open(name, c.secondAccess, c.secondShare, OPEN_EXISTING));
    EXPECT_TRUE(again.IsValid()) << GetLastError();
}

constexpr DWORD R = GENERIC_READ;
constexpr DWORD W = GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ;
constexpr DWORD SW = FILE_SHARE_WRITE;

INSTANTIATE_TEST_SUITE_P(FileApi, Sharing,
                         ::testing::Values(SharingCase{"ExclusiveWriterBlocksReader", W, 0, R, SR | SW, false},
                                           SharingCase{"ExclusiveReaderBlocksReader", R, 0, R, SR | SW, false},
                                           SharingCase{"ReadersSharingRead", R, SR, R, SR, true},
                                           SharingCase{"ReaderNotSharingWriteBlocksWriter", R, SR, W, SR | SW, false},
                                           SharingCase{"ReaderSharingWriteAdmitsWriter", R, SR | SW, W, SR, true},
                                           SharingCase{"SecondMustShareFirstsAccess", W, SR | SW, R, SR, false},
                                           SharingCase{"WritersSharingBoth", R | W, SR | SW, R | W, SR | SW, true},
                                           SharingCase{"ExclusiveSecondAfterSharedFirst", R, SR | SW, R, 0, false}),
                         RowLabel());

TEST(FileApi, SharingIsCheckedBeforeTruncatingAndAcrossSpellingsOfOnePath)
{
    ScopedTempDir dir;
    std::string host = dir.Write("keep.txt", "precious");
    ScopedHandle holder(Open(Runtime(host), GENERIC_READ, 0, OPEN_EXISTING));
    ASSERT_TRUE(holder.IsValid());
    std::string otherSpelling = Runtime(dir.Path() + "/./keep.txt");
    EXPECT_FALSE(ScopedHandle(Open(otherSpelling, GENERIC_WRITE, kShareAll, CREATE_ALWAYS)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ReadHostFile(host), "precious");
}

TEST(FileApi, ReadWriteSizeAndHandleLifetime)
{
    ScopedTempDir dir;
    std::string name = Runtime(dir.File("data.bin"));
    HANDLE file = Open(name, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_NE(file, nullptr);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &done, nullptr));
    EXPECT_EQ(done, 11u);
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 11u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(CloseHandle(file));
    // A closed handle is never valid again, for any function.
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(file, "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE);

    ScopedHandle reader(Open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    char buffer[32] = {};
    ASSERT_TRUE(ReadFile(reader.Get(), buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "hello world");
    ASSERT_TRUE(ReadFile(reader.Get(), buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 0u) << "the end of the file reads as 0 bytes, not as a failure";
    EXPECT_FALSE(WriteFile(reader.Get(), "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(FileApi, ReadOnlyFilesFoldersAndMissingPaths)
{
    ScopedTempDir dir;
    std::string locked = Runtime(dir.File("locked.txt"));
    ScopedHandle created(Open(locked, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(created.IsValid());
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(created.Get(), "abc", 3, &done, nullptr)) << "the creating handle may write";
    created.Close();

    EXPECT_FALSE(ScopedHandle(Open(locked, GENERIC_WRITE, 0, OPEN_EXISTING)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(ScopedHandle(Open(locked, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)).IsValid());
    EXPECT_FALSE(DeleteFileA(locked.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadHostFile(dir.File("locked.txt")), "abc");

    EXPECT_FALSE(ScopedHandle(Open(Runtime(dir.Path()), GENERIC_READ, kShareAll, OPEN_EXISTING)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(ScopedHandle(Open(Runtime(dir.File("no/such/x")), GENERIC_WRITE, 0, CREATE_ALWAYS)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ScopedHandle(Open(Runtime(dir.File("no/x")), GENERIC_READ, 0, OPEN_EXISTING)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    std::string file = dir.Write("plain", "x");
    EXPECT_FALSE(ScopedHandle(Open(Runtime(file + "/below"), GENERIC_WRITE, 0, CREATE_ALWAYS)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ScopedHandle(Open("", GENERIC_READ, 0, OPEN_EXISTING)).IsValid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileApi, NamesWindowsForbidsAreRefusedButGbkTrailBytesAreNot)
{
    ScopedTempDir dir;
    std::string folder = Runtime(dir.Path()) + "\\";
    for (const char* bad : {"a|b", "a?b", "a*b", "a<b", "a\"b", "a:b", "a\tb"}) {
        EXPECT_FALSE(ScopedHandle(Open(folder + bad, GENERIC_WRITE, 0, CREATE_ALWAYS)).IsValid()) << bad;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME) << bad;
    }
    // 0x7C ("|") and 0x5C ("\") as trail bytes belong to their characters.
    std::string name = folder + Gbk("表") + "\x81\x7C.txt";
    EXPECT_TRUE(ScopedHandle(Open(name, GENERIC_WRITE, 0, CREATE_NEW)).IsValid()) << GetLastError();
    EXPECT_TRUE(HostFileExists(ToHostPath(name)));
}

TEST(FileApi, DeleteAndMoveRespectOpenersAndExistingTargets)
{
    ScopedTempDir dir;
    std::string a = Runtime(dir.Write("a.txt", "A"));
    std::string b = Runtime(dir.Write("b.txt", "B"));

    ScopedHandle holder(Open(a, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_FALSE(DeleteFileA(a.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(MoveFileExA(b.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    holder.Close();

    EXPECT_FALSE(MoveFileExA(b.c_str(), a.c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileExA(b.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadHostFile(dir.File("a.txt")), "B");
    EXPECT_FALSE(HostFileExists(dir.File("b.txt")));
    EXPECT_FALSE(MoveFileExA(b.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    ScopedHandle deletable(Open(a, GENERIC_READ, kShareAll, OPEN_EXISTING));
    EXPECT_TRUE(DeleteFileA(a.c_str())) << "an opener sharing delete access does not block";
    EXPECT_FALSE(DeleteFileA(a.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(Runtime(dir.Path()).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
