// The batch mode as a user runs it: the vellumry process with --batch,
// against gallery servers on 127.0.0.1, checked by its exit code, what it
// prints, the files it leaves and the settings file beside the program.
// Each run uses its own copy of the program, so that its settings file is
// its own.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/GbkText.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedTempDir.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryServer.h"

extern char** environ;

namespace {

using namespace vellumry;
using test::Gbk;
using test::ReadHostFile;
using test::ScopedTempDir;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

class BatchMode : public ::testing::Test {
protected:
    // The program and its settings file, in a folder of their own.
    static void SetUpTestSuite()
    {
        s_home = std::make_unique<ScopedTempDir>();
        std::filesystem::copy_file(VELLUMRY_EXE, Program());
    }
    static void TearDownTestSuite() { s_home.reset(); }
    void SetUp() override { std::filesystem::remove(SettingsFile()); }

    static std::string Program() { return s_home->File("vellumry"); }
    static std::string SettingsFile() { return s_home->File("用户配置.ini"); }

    // Runs the program with `arguments`, without a display and without a
    // platform chosen for it, so that it has to go offscreen by itself.
    Outcome Run(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            std::string_view variable(*entry);
            if (!variable.starts_with("DISPLAY=") && !variable.starts_with("WAYLAND_DISPLAY=") &&
                !variable.starts_with("QT_QPA_PLATFORM="))
                environment.emplace_back(variable);
        }
        std::vector<char*> envp;
        for (std::string& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        std::vector<std::string> argv = {Program()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> args;
        for (std::string& argument : argv)
            args.push_back(argument.data());
        args.push_back(nullptr);

        const std::string out = m_dir.File("stdout"), err = m_dir.File("stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = 0;
        Outcome outcome;
        int spawned = posix_spawn(&child, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "the program could not be started: " << spawned;
            return outcome;
        }
        int status = 0;
        waitpid(child, &status, 0);
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = ReadHostFile(out);
        outcome.err = ReadHostFile(err);
        return outcome;
    }

    // A batch run's arguments; the folder is a new one under this test's
    // folder; the time limit only keeps a broken run from hanging the suite.
    std::vector<std::string> Batch(const std::string& address, const std::string& from, const std::string& to,
                                   const std::string& pictureHost)
    {
        return {"--batch", "--address", address, "--from", from, "--to", to, "--folder", Folder(),
                "--picture-host", pictureHost, "--timeout", "300"};
    }
    std::string Folder() const { return m_dir.File("下载/图片"); }

    ScopedTempDir m_dir;
    static std::unique_ptr<ScopedTempDir> s_home;
};

std::unique_ptr<ScopedTempDir> BatchMode::s_home;

std::string Bytes(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(BatchMode, BadCommandLinesEndWithCode2AndSayWhatIsWrongBeforeAnyWindow)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--batch", "--from", "1", "--to", "2", "--folder", "d"}, "vellumry: --address is missing\n"},
        {{"--batch", "--address", "http://a/1.shtml", "--from", "x", "--to", "2", "--folder", "d"},
         "vellumry: --from must be a page number: x\n"},
        {{"--batch", "--address", "http://a/1.shtml", "--from", "1", "--to", "2", "--folder", "d", "--timeout", "0"},
         "vellumry: --timeout must be a number of seconds from 1 to 604800: 0\n"},
        {{"--batch", "--address", "http://a/1.shtml", "--from", "1", "--to", "2", "--folder", "d", "--colour"},
         "vellumry: unknown option --colour\n"},
    };
    for (const Case& c : cases) {
        Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.code, 2) << c.message;
        EXPECT_TRUE(outcome.err.starts_with(c.message)) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: vellumry --batch"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    // A folder that cannot be made: a file stands in its way.
    const std::string blocker = m_dir.Write("file", "x");
    Outcome outcome = Run({"--batch", "--address", "http://a/1.shtml", "--from", "1", "--to", "2", "--folder",
                           blocker + "/sub"});
    EXPECT_EQ(outcome.code, 2);
    EXPECT_TRUE(outcome.err.starts_with("vellumry: --folder " + blocker + "/sub cannot be made")) << outcome.err;
}

TEST_F(BatchMode, HelpListsEveryOptionAndTheExitCodes)
{
    for (const char* help : {"--help", "--batch"}) {
        std::vector<std::string> arguments = {help};
        if (std::string(help) == "--batch")
            arguments.push_back("--help");
        Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.code, 0);
        for (const char* option : {"--address", "--from", "--to", "--folder", "--picture-host", "--timeout",
                                   "--screenshot", "Exit code: 0"})
            EXPECT_NE(outcome.out.find(option), std::string::npos) << option << " in\n" << outcome.out;
    }
    Outcome unknown = Run({"--bogus"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("vellumry --batch --help"), std::string::npos) << unknown.err;
}

TEST_F(BatchMode, DownloadsEveryPictureOfThePagesIntoTheFolderAndEndsWith0)
{
    gallery::GalleryServer server(0);
    const std::string address = server.Address() + "/tu/353/1075110353.shtml";
    const std::string screenshot = m_dir.File("window.png");
    std::vector<std::string> arguments = Batch(address, "2", "3", server.Address());
    arguments.insert(arguments.end(), {"--screenshot", screenshot});
    Outcome outcome = Run(arguments);
    ASSERT_EQ(outcome.code, 0) << outcome.out << outcome.err;

    // The pictures of pages 2 and 3, in page order, as 1.jpg, 2.jpg, ...
    std::vector<std::string> served;
    for (int page : {2, 3})
        for (const std::string& path : gallery::SharePicturePaths({"1075110353", page}))
            served.push_back(Bytes(gallery::PictureBytes(*gallery::ParsePicturePath(path))));
    ASSERT_GE(served.size(), 4u);
    for (std::size_t i = 0; i < served.size(); ++i)
        EXPECT_EQ(ReadHostFile(Folder() + "/" + std::to_string(i + 1) + ".jpg"), served[i]) << i + 1;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}),
              static_cast<std::ptrdiff_t>(served.size()));

    // Every status text once, in order, then the summary.
    const std::string count = std::to_string(served.size());
    const std::string expected = "正在解析第2页内容。\n正在解析第3页内容。\n解析完成------->共找到" + count +
                                 "张图片。\n正在下载中......\n全部下载完成。\nvellumry: " + count + " rows, " +
                                 count + " 下载完成, 0 下载失败, 0 not downloaded\nvellumry: the pictures are in " +
                                 Folder() + "\n";
    EXPECT_EQ(outcome.out, expected);

    // The settings file holds what was typed, as after a person's parse, and
    // the picture host the command line gave.
    const std::string settings = ReadHostFile(SettingsFile());
    EXPECT_NE(settings.find(Gbk("[编辑框]")), std::string::npos) << settings;
    EXPECT_NE(settings.find(Gbk("编辑框_网页地址=") + address), std::string::npos) << settings;
    EXPECT_NE(settings.find(Gbk("编辑框_起始页码=2")), std::string::npos) << settings;
    EXPECT_NE(settings.find(Gbk("编辑框_终止页码=3")), std::string::npos) << settings;
    EXPECT_NE(settings.find(Gbk("[站点]")), std::string::npos) << settings;
    EXPECT_NE(settings.find(Gbk("图片主机=") + server.Address()), std::string::npos) << settings;

    // The window at the end.
    EXPECT_TRUE(ReadHostFile(screenshot).starts_with("\x89PNG\r\n\x1a\n"));
}

// A gallery of one album page of pictures of which the second one answers
// 404.
class GalleryWithAMissingPicture {
public:
    GalleryWithAMissingPicture()
        : m_server([this](const test::ServedRequest& request) {
              std::string line = request.RequestLine();
              std::string path = line.substr(line.find(' ') + 1);
              path = path.substr(0, path.find(' '));
              if (auto page = gallery::ParsePagePath(path))
                  return test::Respond(200, gallery::PageBytes(*page, Host()));
              if (auto picture = gallery::ParsePicturePath(path)) {
                  if (picture->index == 2)
                      return test::Respond(404, "no such picture");
                  return test::Respond(200, Bytes(gallery::PictureBytes(*picture)));
              }
              return test::Respond(404, "not here");
          })
    {
        std::lock_guard lock(m_mutex);
        m_host = m_server.Url("");
    }
    std::string Host() const
    {
        std::lock_guard lock(m_mutex);
        return m_host;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_host;
    test::LoopbackHttpServer m_server;
};

TEST_F(BatchMode, APictureThatFailsIsCountedAndEndsWith1)
{
    GalleryWithAMissingPicture server;
    const std::string host = server.Host();
    Outcome outcome = Run(Batch(host + "/tu/7/77.shtml", "1", "1", host));
    EXPECT_EQ(outcome.code, 1) << outcome.out << outcome.err;
    const int pictures = gallery::PicturesOnPage({"77", 1});
    EXPECT_NE(outcome.out.find("vellumry: " + std::to_string(pictures) + " rows, " + std::to_string(pictures - 1) +
                               " 下载完成, 1 下载失败, 0 not downloaded\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.out.find("the pictures are in"), std::string::npos) << outcome.out;
    // Every picture but the second is saved.
    for (int row = 1; row <= pictures; ++row)
        EXPECT_EQ(std::filesystem::exists(Folder() + "/" + std::to_string(row) + ".jpg"), row != 2) << row;
}

TEST_F(BatchMode, PagesThatGiveNoPicturesEndWith1WithoutDownloading)
{
    gallery::GalleryServer server(0);
    // Start page 3, end page 1: nothing is fetched.
    Outcome outcome = Run(Batch(server.Address() + "/tu/353/1075110353.shtml", "3", "1", server.Address()));
    EXPECT_EQ(outcome.code, 1) << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find("解析完成------->共找到0张图片。\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.err.find("vellumry: the parse found no pictures"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out.find("正在下载中"), std::string::npos) << outcome.out;
    EXPECT_EQ(server.RequestCount(), 0);
}

TEST_F(BatchMode, RunningOutOfTimeStopsTheWorkersAndEndsWith1)
{
    // Pages that never come.
    test::LoopbackHttpServer server([](const test::ServedRequest&) { return test::ReplyScript().Hang(); });
    std::vector<std::string> arguments = Batch(server.Url("/tu/1/1.shtml"), "1", "2", server.Url(""));
    arguments.back() = "2";  // the time limit
    Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.code, 1) << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find("正在解析第1页内容。\n"), std::string::npos) << outcome.out;
    EXPECT_TRUE(outcome.out.ends_with("线程已停止。\n")) << outcome.out;
    EXPECT_NE(outcome.err.find("vellumry: gave up after 2 seconds; the workers were stopped"), std::string::npos)
        << outcome.err;
}

}  // namespace
