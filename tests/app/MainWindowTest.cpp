// The program end to end: the runtime started in this process with the
// program's own description, the start window built from it, the buttons
// pressed through their windows so that the real handlers start and stop the
// real workers, against the demo gallery on 127.0.0.1.
//
// The settings file lives beside this test program, so every test begins by
// writing it afresh: the picture host of the gallery of this test and no
// remembered boxes.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/ApplicationGlobals.h"
#include "app/MainFormUnitIds.h"
#include "app/ProgramWiring.h"
#include "app/Settings.h"
#include "app/StartFormCalls.h"
#include "app/StartFormUnits.h"
#include "app/WindowDriver.h"
#include "app/description/ProgramDescription.h"
#include "forms/engine/FormEngine.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/shell/FolderChooser.h"
#include "platform/ui/UiApplication.h"
#include "platform/ui/WinUser.h"
#include "runtime/RuntimeApplication.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeService.h"
#include "runtime/Shutdown.h"
#include "tests/app/GalleryExpectations.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryServer.h"

namespace {

using namespace vellumry;
using namespace std::chrono_literals;
using test::Gbk;

// The runtime of the program, started once for the whole test program as the
// program entry starts it, without entering its message loop: the tests pump
// the window themselves.
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("VELLUMRY_SOUND", "null", 0);
        app::WireProgram();
        m_application = std::make_unique<runtime::RuntimeApplication>(m_argc, m_argv, nullptr);
        const runtime::RuntimeInterface& api = runtime::GetRuntimeInterface();
        api.runtimeService(runtime::kServiceInitialize);
        api.runtimeService(runtime::kServiceRegisterExitRoutine, &app::ReleaseGlobals);
    }
    void TearDown() override
    {
        runtime::RunShutdown();
        m_application.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "vellumry";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<runtime::RuntimeApplication> m_application;
};

[[maybe_unused]] ::testing::Environment* const g_program =
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

using Row = std::array<std::string, 3>;

const std::string kAlbumPage = "/tu/353/1075110353.shtml";

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settingsFile = app::ProgramSettingsPath();
        std::filesystem::remove(SettingsHostPath());
        WriteSetting("站点", "图片主机", m_gallery.Address());
        Open();
    }

    void TearDown() override
    {
        kernel::StopAllWorkers(0);
        EXPECT_TRUE(app::RunUntilWorkersEnd(20s));
        shell::SetFolderAnswerer({});
        Close();
        std::filesystem::remove(SettingsHostPath());
    }

    // The start form, loaded as the program loads it: event 0 reads the
    // settings file.
    void Open()
    {
        runtime::GetRuntimeInterface().loadStartForm(app::kStartFormId);
        ASSERT_NE(forms::ResolveUnit(app::kStartFormId, app::kParseButtonId), nullptr);
    }

    void Close()
    {
        ui::WindowObject* window = forms::ResolveUnit(app::kStartFormId, 0);
        if (window)
            SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
        app::PumpWindow();
        // The last window going asks the loop to end; there is no loop here.
        ui::UiApplication::Instance()->ForgetQuit();
        EXPECT_EQ(forms::ResolveUnit(app::kStartFormId, 0), nullptr);
    }

    std::string SettingsHostPath() const { return kernel::ToHostPath(m_settingsFile.get()); }

    void WriteSetting(const char* section, const char* key, const std::string& value)
    {
        ASSERT_TRUE(app::WriteProfileItem(m_settingsFile.get(), Gbk(section).c_str(), Gbk(key).c_str(),
                                          value.c_str()));
    }
    std::string ReadSetting(const char* key)
    {
        app::OwnedText value = app::ReadProfileItem(m_settingsFile.get(), Gbk("编辑框").c_str(), Gbk(key).c_str());
        return value ? value.get() : "";
    }

    static void Type(forms::UnitId box, const std::string& text)
    {
        app::WriteTextProperty(box, app::kContentProperty, text.c_str());
    }
    static std::string Content(forms::UnitId box)
    {
        app::OwnedText text = app::ReadTextProperty(box, app::kContentProperty);
        return text ? text.get() : "";
    }
    void TypePages(const std::string& start, const std::string& end, const std::string& address)
    {
        Type(app::kStartPageBoxId, start);
        Type(app::kEndPageBoxId, end);
        Type(app::kPageAddressBoxId, address);
    }

    static void Press(forms::UnitId button) { ASSERT_TRUE(app::PressButton(button)); }

    // Pumps the window until `done` holds; false after `limit`. Every status
    // text seen on the way is kept, in order, without repeats.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            app::PumpWindow();
            NoteStatus();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(2ms);
        }
    }
    // Notes the status texts from now on, after the one shown now.
    void StartNotingStatus() { m_statusSeen = {app::StatusText()}; }
    void NoteStatus()
    {
        std::string text = app::StatusText();
        if (m_statusSeen.empty() || m_statusSeen.back() != text)
            m_statusSeen.push_back(text);
    }
    bool RunUntilWorkersEnd()
    {
        return PumpUntil([] { return kernel::LiveWorkerCount() == 0; });
    }
    // Pumps for a while, for what a stopped worker might still try.
    void Settle()
    {
        const auto until = std::chrono::steady_clock::now() + 300ms;
        PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
    }

    // After a stop: the list and the status stay as the stop left them, and
    // no request follows (the one in hand when the stop came may still
    // reach the server a moment later).
    void ExpectNothingChangesAfterTheStop(const std::vector<Row>& rows)
    {
        ExpectNothingChangesAfterTheStop(rows, m_gallery);
    }
    void ExpectNothingChangesAfterTheStop(const std::vector<Row>& rows, const gallery::GalleryServer& server)
    {
        Settle();
        const int requests = server.RequestCount();
        Settle();
        Settle();
        EXPECT_EQ(Rows(), rows);
        EXPECT_EQ(app::StatusText(), Gbk("线程已停止。"));
        EXPECT_EQ(server.RequestCount(), requests);
    }

    // A gallery whose pages are large (many pictures each) and come slowly,
    // a piece every 100 ms, so that a stop finds a parse at work. Its
    // pictures are the ones the parse looks for from now on.
    void UseSlowPages() { WriteSetting("站点", "图片主机", m_slowGallery.Address()); }
    std::string SlowAlbum() const { return m_slowGallery.Address() + "/fault/slow/100" + kAlbumPage; }
    std::vector<std::string> SlowPagePictures(int page) const
    {
        return test::AlbumPictureAddresses(m_slowGallery, page, page);
    }

    static std::vector<Row> Rows()
    {
        app::StartFormUnits units;
        std::vector<Row> rows;
        const std::int32_t count = units.GetRowCount();
        for (std::int32_t row = 0; row < count; ++row) {
            Row cells;
            for (std::int32_t column = 0; column < 3; ++column) {
                app::OwnedText text = units.GetCellText(row, column);
                cells[static_cast<size_t>(column)] = text ? text.get() : "";
            }
            rows.push_back(cells);
        }
        return rows;
    }
public:
    static void AddRow(const std::string& number, const std::string& address)
    {
        app::StartFormUnits units;
        const std::int32_t row = units.InsertRow();
        units.SetCellText(row, app::kNumberColumn, number.c_str());
        units.SetCellText(row, app::kAddressColumn, address.c_str());
        units.SetCellText(row, app::kStatusColumn, Gbk("等待下载————————").c_str());
    }

protected:
    std::vector<std::string> ExpectedAddresses(int first, int last) const
    {
        return test::AlbumPictureAddresses(m_gallery, first, last);
    }
    std::string PictureAt(const std::string& address) const { return test::ServedPicture(m_gallery, address); }
    std::vector<std::string> PageTargets() const { return test::PageTargets(m_gallery); }

    // The folder chooser answers with `folder` (none: cancelled).
    void AnswerFolder(std::optional<std::string> folder)
    {
        shell::SetFolderAnswerer([folder, this](const shell::FolderQuestion& question) {
            m_chooserTitles.push_back(question.title);
            return folder;
        });
    }
    void ChooseFolder(const test::ScopedTempDir& dir)
    {
        AnswerFolder(dir.Path());
        Press(app::kFolderButtonId);
    }

    static std::set<std::string> FilesIn(const test::ScopedTempDir& dir)
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    void ParseAndWait(const std::string& start, const std::string& end, const std::string& address)
    {
        TypePages(start, end, address);
        Press(app::kParseButtonId);
        ASSERT_TRUE(RunUntilWorkersEnd());
    }

    gallery::GalleryServer m_gallery{0};
    gallery::GalleryServer m_slowGallery{0, gallery::GalleryShape{.picturesPerPage = 40}};
    app::OwnedText m_settingsFile;
    std::vector<std::string> m_statusSeen;
    std::vector<std::string> m_chooserTitles;
};

// The status texts seen after the first (the one shown when noting began)
// must be, in order, texts of `expected` ending with its last: some may pass
// between two looks.
void ExpectSeenInOrder(const std::vector<std::string>& seen, const std::vector<std::string>& expected)
{
    ASSERT_GE(seen.size(), 2u);
    size_t next = 0;
    for (size_t i = 1; i < seen.size(); ++i) {
        const std::string& text = seen[i];
        while (next < expected.size() && expected[next] != text)
            ++next;
        ASSERT_LT(next, expected.size()) << "unexpected or out of order: " << test::Utf8(text);
        ++next;
    }
    EXPECT_EQ(seen.back(), expected.back());
}

TEST_F(MainWindow, ParseAppendsNumberedRowsAndSavesTheBoxes)
{
    // Rows of an earlier run stay; the new ones are numbered on from them.
    ParseAndWait("2", "2", m_gallery.Address() + kAlbumPage);
    const std::vector<std::string> earlier = ExpectedAddresses(2, 2);
    ASSERT_EQ(Rows().size(), earlier.size());
    StartNotingStatus();

    ParseAndWait("1", "3", m_gallery.Address() + kAlbumPage);

    std::vector<std::string> expected = earlier;
    for (const std::string& address : ExpectedAddresses(1, 3))
        expected.push_back(address);
    const std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        EXPECT_EQ(rows[i][1], expected[i]) << i;
        EXPECT_EQ(rows[i][2], Gbk("等待下载————————")) << i;
    }
    EXPECT_EQ(PageTargets(), (std::vector<std::string>{"/tu/353/1075110353_2.shtml", "/tu/353/1075110353_1.shtml",
                                                       "/tu/353/1075110353_2.shtml", "/tu/353/1075110353_3.shtml"}));
    ExpectSeenInOrder(m_statusSeen, {Gbk("正在解析第1页内容。"), Gbk("正在解析第2页内容。"), Gbk("正在解析第3页内容。"),
                                     Gbk("解析完成------->共找到" + std::to_string(expected.size()) + "张图片。")});

    // The boxes as they were when the parse started, one key each.
    EXPECT_EQ(ReadSetting("编辑框_起始页码"), "1");
    EXPECT_EQ(ReadSetting("编辑框_终止页码"), "3");
    EXPECT_EQ(ReadSetting("编辑框_网页地址"), m_gallery.Address() + kAlbumPage);
    EXPECT_EQ(ReadSetting("编辑框_保存路径"), "");
}

TEST_F(MainWindow, PageAddressesComeFromTheBoxesAsTyped)
{
    // Start above end: nothing is fetched; the count is of the rows there.
    AddRow("1", m_gallery.Address() + "/x.jpg");
    ParseAndWait("3", "1", m_gallery.Address() + kAlbumPage);
    EXPECT_TRUE(m_gallery.RequestTargets().empty());
    EXPECT_EQ(app::StatusText(), Gbk("解析完成------->共找到1张图片。"));

    // Without ".shtml" the address is the base as it is; with it twice, both go.
    ParseAndWait("2", "2", m_gallery.Address() + "/tu/353/");
    ParseAndWait("1", "1", m_gallery.Address() + "/tu.shtml/353/1075110353.shtml");
    EXPECT_EQ(PageTargets(), (std::vector<std::string>{"/tu/353/_2.shtml", "/tu/353/1075110353_1.shtml"}));
    EXPECT_EQ(Rows().size(), 1 + ExpectedAddresses(1, 1).size());

    // A box left empty: the button starts nothing and changes no text.
    const int requests = m_gallery.RequestCount();
    const std::vector<Row> rows = Rows();
    Type(app::kEndPageBoxId, "");
    Press(app::kParseButtonId);
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
    Settle();
    EXPECT_EQ(m_gallery.RequestCount(), requests);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(app::StatusText(), Gbk("解析完成------->共找到" + std::to_string(rows.size()) + "张图片。"));
}

TEST_F(MainWindow, DownloadWritesTheServedBytesAndMarksFailuresWithoutAFile)
{
    test::ScopedTempDir dir;
    ParseAndWait("1", "2", m_gallery.Address() + kAlbumPage);
    const std::vector<std::string> addresses = ExpectedAddresses(1, 2);
    ASSERT_EQ(Rows().size(), addresses.size());
    const std::string failed = std::to_string(addresses.size() + 1);
    AddRow(failed, m_gallery.Address() + "/fault/status/500" + gallery::SharePicturePaths({"7", 1})[0]);

    ChooseFolder(dir);
    EXPECT_EQ(m_chooserTitles, std::vector<std::string>{"请选择文件夹"});
    EXPECT_EQ(Content(app::kSaveFolderBoxId), kernel::ToRuntimePath(dir.Path()));
    EXPECT_TRUE(app::ReadBoolProperty(app::kSaveFolderBoxId, app::kDisabledProperty));
    EXPECT_FALSE(app::ReadBoolProperty(app::kPictureBoxId, app::kVisibleProperty));
    EXPECT_TRUE(app::ReadBoolProperty(app::kReportListId, app::kVisibleProperty));
    StartNotingStatus();

    Press(app::kDownloadButtonId);
    ASSERT_TRUE(RunUntilWorkersEnd());

    ExpectSeenInOrder(m_statusSeen, {Gbk("正在下载中......"), Gbk("全部下载完成。")});
    const std::vector<Row> rows = Rows();
    std::set<std::string> expectedFiles;
    for (size_t i = 0; i < addresses.size(); ++i) {
        const std::string name = std::to_string(i + 1) + ".jpg";
        expectedFiles.insert(name);
        EXPECT_EQ(test::ReadHostFile(dir.File(name)), PictureAt(addresses[i])) << name;
        EXPECT_EQ(rows[i][2], Gbk("下载完成")) << i;
    }
    EXPECT_EQ(rows.back()[2], Gbk("下载失败"));
    // Only the pictures: no file for the failure, no temporary file.
    EXPECT_EQ(FilesIn(dir), expectedFiles);

    // A second run writes the same files again over shortened ones.
    std::filesystem::resize_file(dir.File("1.jpg"), 5);
    Press(app::kDownloadButtonId);
    ASSERT_TRUE(RunUntilWorkersEnd());
    EXPECT_EQ(test::ReadHostFile(dir.File("1.jpg")), PictureAt(addresses[0]));
}

TEST_F(MainWindow, ACancelledChooserEmptiesAndDisablesTheBoxAndTheDownloadButtonDoesNothing)
{
    ParseAndWait("1", "1", m_gallery.Address() + kAlbumPage);
    Type(app::kSaveFolderBoxId, "/tmp");
    AnswerFolder(std::nullopt);
    Press(app::kFolderButtonId);
    EXPECT_EQ(Content(app::kSaveFolderBoxId), "");
    EXPECT_TRUE(app::ReadBoolProperty(app::kSaveFolderBoxId, app::kDisabledProperty));
    EXPECT_FALSE(app::ReadBoolProperty(app::kPictureBoxId, app::kVisibleProperty));

    const int requests = m_gallery.RequestCount();
    const std::string status = app::StatusText();
    Press(app::kDownloadButtonId);
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
    Settle();
    EXPECT_EQ(m_gallery.RequestCount(), requests);
    EXPECT_EQ(app::StatusText(), status);
    for (const Row& row : Rows())
        EXPECT_EQ(row[2], Gbk("等待下载————————"));

    // An empty list starts nothing either, whatever the folder.
    Press(app::kClearButtonId);
    EXPECT_TRUE(Rows().empty());
    Type(app::kSaveFolderBoxId, "/tmp");
    Press(app::kDownloadButtonId);
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
    EXPECT_EQ(app::StatusText(), status);  // clearing keeps the status text too
}

TEST_F(MainWindow, StopWhenNothingRanOnlySaysSo)
{
    EXPECT_EQ(app::StatusText(), "");
    Press(app::kStopButtonId);
    EXPECT_EQ(app::StatusText(), Gbk("线程已停止。"));
    // And again after a run that ended by itself.
    ParseAndWait("1", "1", m_gallery.Address() + kAlbumPage);
    const std::vector<Row> rows = Rows();
    Press(app::kStopButtonId);
    EXPECT_EQ(app::StatusText(), Gbk("线程已停止。"));
    EXPECT_EQ(Rows(), rows);
}

TEST_F(MainWindow, StopDuringAParseChangesNothingAfterwards)
{
    UseSlowPages();
    TypePages("1", "5", SlowAlbum());
    Press(app::kParseButtonId);
    ASSERT_TRUE(PumpUntil([] { return app::StatusText() == Gbk("正在解析第2页内容。"); }));
    Press(app::kStopButtonId);
    EXPECT_EQ(app::StatusText(), Gbk("线程已停止。"));
    const std::vector<Row> rows = Rows();
    // The first page's rows are there; a row of the second page the stop
    // cut short may be there too, as far as it got.
    const std::vector<std::string> firstPage = SlowPagePictures(1);
    ASSERT_GE(rows.size(), firstPage.size());
    for (size_t i = 0; i < firstPage.size(); ++i)
        EXPECT_EQ(rows[i], (Row{std::to_string(i + 1), firstPage[i], Gbk("等待下载————————")})) << i;
    ASSERT_TRUE(RunUntilWorkersEnd());
    ExpectNothingChangesAfterTheStop(rows, m_slowGallery);
    EXPECT_LE(m_slowGallery.RequestTargets().size(), 2u);
}

TEST_F(MainWindow, ParsePressedTwiceRunsTwoWorkersAndStopEndsBoth)
{
    // Both runs to their end: each appends its rows, the count covers both.
    TypePages("1", "2", m_gallery.Address() + kAlbumPage);
    Press(app::kParseButtonId);
    Press(app::kParseButtonId);
    ASSERT_TRUE(RunUntilWorkersEnd());
    const size_t perRun = ExpectedAddresses(1, 2).size();
    std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 2 * perRun);
    std::multiset<std::string> addresses;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        addresses.insert(rows[i][1]);
    }
    for (const std::string& address : ExpectedAddresses(1, 2))
        EXPECT_EQ(addresses.count(address), 2u) << address;
    EXPECT_EQ(app::StatusText(), Gbk("解析完成------->共找到" + std::to_string(2 * perRun) + "张图片。"));

    // Two slow runs stopped: the first is stopped as well as the second.
    Press(app::kClearButtonId);
    UseSlowPages();
    TypePages("1", "5", SlowAlbum());
    Press(app::kParseButtonId);
    Press(app::kParseButtonId);
    ASSERT_EQ(kernel::LiveWorkerCount(), 2u);
    // Both at work: each has added the first page's rows.
    const size_t firstPage = SlowPagePictures(1).size();
    ASSERT_TRUE(PumpUntil([&] { return Rows().size() >= 2 * firstPage; }));
    Press(app::kStopButtonId);
    rows = Rows();
    ASSERT_TRUE(RunUntilWorkersEnd());
    ExpectNothingChangesAfterTheStop(rows, m_slowGallery);
}

// Rows whose pictures come slowly, numbered from 1.
void AddSlowRows(const gallery::GalleryServer& server, int count)
{
    const auto paths = gallery::SharePicturePaths({"9", 1});
    for (int i = 0; i < count; ++i) {
        const std::string path = paths[static_cast<size_t>(i) % paths.size()];
        MainWindow::AddRow(std::to_string(i + 1), server.Address() + "/fault/slow/5" + path);
    }
}

// The picture of row `number` of AddSlowRows.
std::string SlowRowPicture(const gallery::GalleryServer& server, int number)
{
    const auto paths = gallery::SharePicturePaths({"9", 1});
    return test::ServedPicture(server, server.Address() + paths[static_cast<size_t>(number - 1) % paths.size()]);
}

// Six slow rows downloaded into `dir` until the first is done, while the
// second picture is on its way.
#define DOWNLOAD_UNTIL_THE_FIRST_IS_DONE(dir)                                          \
    AddSlowRows(m_gallery, 6);                                                         \
    ChooseFolder(dir);                                                                 \
    Press(app::kDownloadButtonId);                                                     \
    ASSERT_TRUE(PumpUntil([] { return Rows()[0][2] == Gbk("下载完成"); }))

TEST_F(MainWindow, StopDuringADownloadLeavesNoPartFileAndChangesNothingAfterwards)
{
    test::ScopedTempDir dir;
    DOWNLOAD_UNTIL_THE_FIRST_IS_DONE(dir);
    Press(app::kStopButtonId);
    EXPECT_EQ(app::StatusText(), Gbk("线程已停止。"));
    const std::vector<Row> rows = Rows();
    ASSERT_TRUE(RunUntilWorkersEnd());
    ExpectNothingChangesAfterTheStop(rows);
    EXPECT_EQ(rows.back()[2], Gbk("等待下载————————"));

    // Every file there is a whole picture of a row marked done.
    for (const std::string& name : FilesIn(dir)) {
        const int number = std::atoi(name.c_str());
        ASSERT_GE(number, 1) << name;
        EXPECT_EQ(name, std::to_string(number) + ".jpg");
        EXPECT_EQ(rows[static_cast<size_t>(number - 1)][2], Gbk("下载完成")) << name;
        EXPECT_EQ(test::ReadHostFile(dir.File(name)), SlowRowPicture(m_gallery, number)) << name;
    }
    EXPECT_FALSE(FilesIn(dir).empty());
    EXPECT_LT(FilesIn(dir).size(), 6u);
}

TEST_F(MainWindow, ClearDuringADownloadSkipsTheRowsThatWent)
{
    test::ScopedTempDir dir;
    DOWNLOAD_UNTIL_THE_FIRST_IS_DONE(dir);
    Press(app::kClearButtonId);
    EXPECT_TRUE(Rows().empty());
    ASSERT_TRUE(RunUntilWorkersEnd());
    EXPECT_EQ(app::StatusText(), Gbk("全部下载完成。"));
    EXPECT_TRUE(Rows().empty());
    // Nothing after the picture in hand when the list went was asked for;
    // that one is not kept (unless it was written just before the clear),
    // and no file lacks its number.
    EXPECT_LE(m_gallery.RequestCount(), 2);
    EXPECT_TRUE(FilesIn(dir).count("1.jpg"));
    for (const std::string& name : FilesIn(dir))
        EXPECT_TRUE(name == "1.jpg" || name == "2.jpg") << name;
}

TEST_F(MainWindow, TheBoxesComeBackAtTheNextStartLineBreaksAndAll)
{
    const std::string twoLines = Gbk("http://127.0.0.1:1/tu/1.shtml\r\n第二行");
    TypePages("4", "4", twoLines);
    Type(app::kSaveFolderBoxId, Gbk("/下载/图片"));
    Press(app::kParseButtonId);
    ASSERT_TRUE(RunUntilWorkersEnd());
    EXPECT_EQ(ReadSetting("编辑框_网页地址"), Gbk("http://127.0.0.1:1/tu/1.shtml><br><第二行"));

    Close();
    Open();
    EXPECT_EQ(Content(app::kPageAddressBoxId), twoLines);
    EXPECT_EQ(Content(app::kStartPageBoxId), "4");
    EXPECT_EQ(Content(app::kEndPageBoxId), "4");
    EXPECT_EQ(Content(app::kSaveFolderBoxId), Gbk("/下载/图片"));
    EXPECT_TRUE(Rows().empty());  // the list is not remembered

    // A key with an empty value leaves the box as the form made it.
    WriteSetting("编辑框", "编辑框_终止页码", "");
    Close();
    Open();
    EXPECT_EQ(Content(app::kEndPageBoxId), "2");
    EXPECT_EQ(Content(app::kStartPageBoxId), "4");
}

// Closing the window while a download runs, as the program ends: the workers
// are stopped before the exit routine frees the globals, and no part file is
// left. Run in a process of its own, as the program ends there.
TEST_F(MainWindow, ClosingWhileADownloadRunsStopsItBeforeTheEnd)
{
    // The child starts afresh (a fork would inherit the window thread's
    // state without its threads).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::ScopedTempDir dir;
    AddSlowRows(m_gallery, 4);
    ChooseFolder(dir);
    EXPECT_EXIT(
        {
            Press(app::kDownloadButtonId);
            PumpUntil([&] { return m_gallery.RequestCount() >= 1; });
            Close();
            runtime::RunShutdown();
            bool ok = kernel::LiveWorkerCount() == 0 && app::Globals().chosenFolder == nullptr;
            // Only whole pictures, under their final names.
            for (const std::string& name : FilesIn(dir)) {
                const int number = std::atoi(name.c_str());
                ok = ok && number >= 1 && name == std::to_string(number) + ".jpg" &&
                     test::ReadHostFile(dir.File(name)) == SlowRowPicture(m_gallery, number);
            }
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

// Text drawn on the offscreen platform loads fontconfig's caches, which live
// until the process ends by that library's design; they are not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
