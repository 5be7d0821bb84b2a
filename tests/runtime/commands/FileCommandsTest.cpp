#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>
#include <atomic>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/ScopedHandle.h"
#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"

namespace {

using namespace vellumry::test;
using vellumry::kernel::ScopedHandle;
using vellumry::kernel::ToHostPath;
using vellumry::kernel::ToRuntimePath;

std::set<std::string> NamesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool Write(const std::string& runtimePath, std::initializer_list<const HeapBytes*> pieces)
{
    std::vector<TypedValue> arguments{Text(runtimePath)};
    for (const HeapBytes* piece : pieces)
        arguments.push_back(piece->Value());
    TypedValue result = CallWith(CoreCommand::WriteToFile, arguments);
    EXPECT_EQ(result.tag, vellumry::runtime::kBoolType);
    return result.Bool();
}

// ---- WriteToFile ------------------------------------------------------------------

TEST(WriteToFile, CreatesReplacesAndEmptiesFiles)
{
    ScopedTempDir dir;
    std::string path = ToRuntimePath(dir.Path()) + "\\3.jpg";
    HeapBytes head("\xFF\xD8head");
    HeapBytes tail(std::string("\0tail", 5));
    HeapBytes empty("");
    EXPECT_TRUE(Write(path, {&head, &empty, &tail}));
    EXPECT_EQ(ReadHostFile(dir.File("3.jpg")), std::string("\xFF\xD8head\0tail", 11));

    HeapBytes shorter("ab");
    EXPECT_TRUE(Write(path, {&shorter}));
    EXPECT_EQ(ReadHostFile(dir.File("3.jpg")), "ab") << "an existing file is emptied first";
    EXPECT_TRUE(Write(path, {&empty}));
    EXPECT_EQ(ReadHostFile(dir.File("3.jpg")), "");
    EXPECT_TRUE(Write(path, {}));
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"3.jpg"}) << "no temporary file stays behind";

    std::string gbkFolder = dir.Path() + "/图片";
    std::filesystem::create_directory(gbkFolder);
    EXPECT_TRUE(Write(ToRuntimePath(gbkFolder) + "\\" + Gbk("第1张.jpg"), {&head}));
    EXPECT_EQ(ReadHostFile(gbkFolder + "/第1张.jpg"), "\xFF\xD8head");
}

TEST(WriteToFile, FailuresLeaveNothingBehindAndKeepTheOldContent)
{
    ScopedTempDir dir;
    std::string folder = ToRuntimePath(dir.Path());
    HeapBytes bytes("new");
    EXPECT_FALSE(Write("", {&bytes})) << "an empty path touches no file";
    EXPECT_FALSE(Write(folder + "\\missing\\1.jpg", {&bytes}));
    EXPECT_FALSE(Write(folder + "\\", {&bytes})) << "a folder name is no file name";
    EXPECT_FALSE(Write(folder, {&bytes}));
    EXPECT_FALSE(Write(folder + "\\bad|name.jpg", {&bytes}));

    std::string readOnly = dir.Write("ro.jpg", "old");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(Write(folder + "\\ro.jpg", {&bytes}));
    EXPECT_EQ(ReadHostFile(readOnly), "old");

    // Another opener in this process holds the file: the exclusive open of
    // the original fails, and so does the write.
    dir.Write("held.jpg", "old");
    std::string held = folder + "\\held.jpg";
    for (DWORD share : {DWORD{0}, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
        ScopedHandle reader(CreateFileA(held.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader.IsValid());
        EXPECT_FALSE(Write(held, {&bytes})) << "share mode " << share;
        EXPECT_EQ(ReadHostFile(dir.File("held.jpg")), "old");
    }
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"held.jpg", "ro.jpg"}));
}

TEST(WriteToFile, AnOverwrittenFileKeepsItsPermissionBits)
{
    ScopedTempDir dir;
    std::string path = ToRuntimePath(dir.Path()) + "\\run.sh";
    for (mode_t mode : {mode_t{0750}, mode_t{0600}, mode_t{0644}}) {
        std::string host = dir.Write("run.sh", "old");
        ASSERT_EQ(chmod(host.c_str(), mode), 0);
        HeapBytes bytes("#!/bin/sh\n");
        EXPECT_TRUE(Write(path, {&bytes}));
        struct stat info {};
        ASSERT_EQ(stat(host.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(ReadHostFile(host), "#!/bin/sh\n");
    }
}

TEST(WriteToFile, ThroughASymbolicLinkTheLinkedFileIsReplaced)
{
    ScopedTempDir dir;
    std::filesystem::create_directory(dir.File("store"));
    std::string real = dir.Write("store/1.jpg", "old");
    // A relative link to the file, and a link to that link.
    std::filesystem::create_symlink("store/1.jpg", dir.File("link.jpg"));
    std::filesystem::create_symlink(dir.File("link.jpg"), dir.File("chain.jpg"));
    std::string folder = ToRuntimePath(dir.Path());

    HeapBytes first("first");
    EXPECT_TRUE(Write(folder + "\\link.jpg", {&first}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.jpg")));
    EXPECT_EQ(ReadHostFile(real), "first");
    HeapBytes second("second");
    EXPECT_TRUE(Write(folder + "\\chain.jpg", {&second}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("chain.jpg")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.jpg")));
    EXPECT_EQ(ReadHostFile(real), "second");
    EXPECT_EQ(NamesIn(dir.File("store")), std::set<std::string>{"1.jpg"}) << "no temporary file stays behind";

    // A link to a file not there yet: the file is made where it points.
    std::filesystem::create_symlink("store/2.jpg", dir.File("new.jpg"));
    EXPECT_TRUE(Write(folder + "\\new.jpg", {&first}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("new.jpg")));
    EXPECT_EQ(ReadHostFile(dir.File("store/2.jpg")), "first");

    // Links that lead round in a circle name no file.
    std::filesystem::create_symlink("loop-b", dir.File("loop-a"));
    std::filesystem::create_symlink("loop-a", dir.File("loop-b"));
    EXPECT_FALSE(Write(folder + "\\loop-a", {&first}));
}

// Many writers at once, in two processes, into one folder: every write lands
// and no temporary file is left, whatever names the writers pick.
TEST(WriteToFile, ConcurrentWritersInTwoProcessesNeverMeet)
{
    ScopedTempDir dir;
    std::string folder = ToRuntimePath(dir.Path());
    auto writeMany = [&](const char* process) {
        std::vector<std::thread> threads;
        std::atomic<int> failures{0};
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < 50; ++i) {
                    std::string name = std::string(process) + "-" + std::to_string(t) + "-" + std::to_string(i);
                    HeapBytes bytes(name);
                    if (!Write(folder + "\\" + name, {&bytes}) || ReadHostFile(dir.File(name)) != name)
                        failures.fetch_add(1);
                }
            });
        for (std::thread& thread : threads)
            thread.join();
        return failures.load();
    };
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        std::_Exit(writeMany("child") == 0 ? 0 : 1);
    EXPECT_EQ(writeMany("parent"), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(NamesIn(dir.Path()).size(), 400u);
}

// A reader watching the name of a file being written, new or replaced, only
// ever finds the old content or the whole new one.
TEST(WriteToFile, AWatcherSeesNoPartFileUnderTheName)
{
    ScopedTempDir dir;
    const std::string host = dir.File("big.jpg");
    const std::string path = ToRuntimePath(dir.Path()) + "\\big.jpg";
    constexpr off_t kBig = 4 * 1024 * 1024;
    constexpr off_t kOther = 3 * 1024 * 1024 + 7;
    HeapBytes big(std::string(kBig, 'b'));
    HeapBytes other(std::string(kOther, 'o'));
    std::atomic<bool> writing{true};
    std::atomic<int> partial{0};
    std::atomic<int> seen{0};
    std::thread watcher([&] {
        while (writing) {
            struct stat info {};
            if (stat(host.c_str(), &info) != 0)
                continue;
            seen.fetch_add(1);
            if (info.st_size != kBig && info.st_size != kOther)
                partial.fetch_add(1);
        }
    });
    for (int round = 0; round < 6; ++round) {
        std::filesystem::remove(host);
        EXPECT_TRUE(Write(path, {&big})) << "a new name, round " << round;
        EXPECT_TRUE(Write(path, {&other})) << "a name taken, round " << round;
    }
    writing = false;
    watcher.join();
    EXPECT_EQ(partial.load(), 0);
    EXPECT_GT(seen.load(), 0) << "the watcher saw the file at all";
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"big.jpg"}) << "no temporary file stays behind";
}

// A write that fails halfway (here: the file-size limit of the process) must
// not replace the old file with a cut-off one, nor leave the temporary file,
// nor make a new file.
TEST(WriteToFileDeath, AFailedWriteKeepsTheOldFile)
{
    ScopedTempDir dir;
    dir.Write("1.jpg", "old picture");
    std::string path = ToRuntimePath(dir.Path()) + "\\1.jpg";
    HeapBytes large(std::string(64 * 1024, 'x'));
    auto attempt = [&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        bool written = Write(path, {&large});
        bool newWritten = Write(ToRuntimePath(dir.Path()) + "\\2.jpg", {&large});
        bool kept = ReadHostFile(dir.File("1.jpg")) == "old picture";
        bool clean = NamesIn(dir.Path()) == std::set<std::string>{"1.jpg"};
        std::exit(!written && !newWritten && kept && clean ? 0 : 1 + written + 2 * !kept + 4 * !clean + 8 * newWritten);
    };
    EXPECT_EXIT(attempt(), ::testing::ExitedWithCode(0), "");
}

// ---- ProgramFolder -------------------------------------------------------------

TEST(ProgramFolder, IsTheExecutablesFolderWithoutTrailingSeparator)
{
    std::optional<std::string> folder = TakeText(Call(CoreCommand::ProgramFolder, {}));
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->back(), '\\');
    EXPECT_EQ(ToHostPath(*folder), std::filesystem::path(vellumry::kernel::HostProgramPath()).parent_path().string());
}

// ---- ReadProfileItem and WriteProfileItem ----------------------------------------

class ProfileItems : public ::testing::Test {
protected:
    ScopedTempDir m_dir;
    std::string m_file = ToRuntimePath(m_dir.Path()) + "\\" + Gbk("用户配置.ini");
    std::string m_section = Gbk("编辑框");

    std::optional<std::string> Read(const std::string& key, std::optional<std::string> fallback = {})
    {
        return TakeText(Call(CoreCommand::ReadProfileItem,
                            {Text(m_file), Text(m_section), Text(key), fallback ? Text(*fallback) : Omitted()}));
    }
    bool Write(std::optional<std::string> key, std::optional<std::string> value)
    {
        return Call(CoreCommand::WriteProfileItem,
                   {Text(m_file), Text(m_section), key ? Text(*key) : Omitted(), value ? Text(*value) : Omitted()})
            .Bool();
    }
};

TEST_F(ProfileItems, WriteThenReadBackAndRemove)
{
    std::string key = Gbk("编辑框_网页地址");
    std::string value = "http://127.0.0.1/a><br><b";
    EXPECT_EQ(Read(key), std::nullopt) << "a missing file reads as the empty text";
    EXPECT_EQ(Read(key, "dflt"), "dflt");
    EXPECT_TRUE(Write(key, value));
    EXPECT_TRUE(Write("other", ""));
    EXPECT_EQ(Read(key), value);
    EXPECT_EQ(Read("other", "dflt"), std::nullopt) << "a present empty value is not the default";
    EXPECT_EQ(ReadHostFile(ToHostPath(m_file)), "[" + m_section + "]\r\n" + key + "=" + value + "\r\nother=\r\n");

    EXPECT_TRUE(Write(key, std::nullopt));
    EXPECT_EQ(Read(key, "gone"), "gone");
    EXPECT_EQ(Read("other", "dflt"), std::nullopt);
    EXPECT_TRUE(Write(std::nullopt, std::nullopt));
    EXPECT_EQ(Read("other", "dflt"), "dflt");
}

TEST_F(ProfileItems, LeadingLowBytesOfTheNamesAreSkipped)
{
    ASSERT_TRUE(Write("k", "v"));
    std::string paddedFile = " \t\x01" + m_file;
    std::string paddedSection = "\x1F " + m_section;
    std::string paddedKey = "\n k";
    EXPECT_EQ(TakeText(Call(CoreCommand::ReadProfileItem, {Text(paddedFile), Text(paddedSection), Text(paddedKey)})),
              "v");
    std::string blank = " \r\n";
    EXPECT_EQ(TakeText(Call(CoreCommand::ReadProfileItem, {Text(m_file), Text(blank), Text("k"), Text("dflt")})),
              std::nullopt)
        << "an empty name gives the empty text, not the default";
    EXPECT_EQ(TakeText(Call(CoreCommand::ReadProfileItem, {Text(m_file), Text(m_section), Text(""), Text("dflt")})),
              std::nullopt);
}

TEST_F(ProfileItems, ValuesArriveCutToTheBuffer)
{
    std::string longValue(12000, 'v');
    ASSERT_TRUE(Write("k", longValue));
    EXPECT_EQ(Read("k"), longValue.substr(0, 10239));
}

TEST_F(ProfileItems, UnwritableFilesGiveFalse)
{
    m_file = ToRuntimePath(m_dir.Path()) + "\\missing\\s.ini";
    EXPECT_FALSE(Write("k", "v"));
    EXPECT_EQ(Read("k", "d"), "d");
}

}  // namespace
