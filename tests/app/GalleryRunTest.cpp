// The parse and download runs against the demo gallery, with the real page
// and picture requests and the real regular-expression component, over a
// recording stand-in for the window's units.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/GalleryPages.h"
#include "app/GalleryParser.h"
#include "app/MainWindowUnits.h"
#include "app/PictureDownloader.h"
#include "app/ProgramWiring.h"
#include "app/description/DllCommandTable.h"
#include "platform/com/Apartment.h"
#include "platform/kernel/PathMapping.h"
#include "runtime/DllCommands.h"
#include "runtime/ValueHelpers.h"
#include "tests/app/GalleryExpectations.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GalleryServer.h"

namespace {

using namespace vellumry;
using test::Gbk;

std::string Str(const app::OwnedText& text)
{
    return text ? std::string(text.get()) : std::string();
}

app::OwnedText Text(const std::string& bytes)
{
    return app::OwnedText(runtime::MakeText(bytes));
}

// The window's units as plain data; every call is recorded.
class RecordingUnits final : public app::MainWindowUnits {
public:
    std::map<app::EditBox, std::string> contents;
    std::vector<std::array<std::string, 3>> rows;
    std::vector<std::string> statusTexts;
    std::vector<std::int32_t> visibleRows;
    int settingsSaved = 0;

    app::OwnedText Content(app::EditBox box) override { return Text(contents[box]); }
    void SaveSettings() override { ++settingsSaved; }
    void SetStatusText(const char* text) override { statusTexts.emplace_back(text); }
    std::int32_t InsertRow() override
    {
        rows.push_back({});
        return static_cast<std::int32_t>(rows.size() - 1);
    }
    void SetCellText(std::int32_t row, std::int32_t column, const char* text) override
    {
        rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)) = text;
    }
    app::OwnedText GetCellText(std::int32_t row, std::int32_t column) override
    {
        // A row that no longer exists reads as the empty text.
        if (row < 0 || static_cast<size_t>(row) >= rows.size())
            return {};
        return Text(rows[static_cast<size_t>(row)].at(static_cast<size_t>(column)));
    }
    std::int32_t GetRowCount() override { return static_cast<std::int32_t>(rows.size()); }
    void EnsureRowVisible(std::int32_t row) override { visibleRows.push_back(row); }
};

class GalleryRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::WireProgram();
        runtime::InstallDllCommands(app::kDllCommandCount, app::kDllLibraryNames, app::kDllExportNames);
    }
    void TearDown() override
    {
        EXPECT_EQ(com::ApartmentInitializations(), 0) << "component-model calls must pair up";
        runtime::UnloadDllCommands();
    }

    void TypePages(const std::string& start, const std::string& end, const std::string& address)
    {
        m_units.contents[app::EditBox::StartPage] = start;
        m_units.contents[app::EditBox::EndPage] = end;
        m_units.contents[app::EditBox::PageAddress] = address;
    }
    void Parse() { app::ParseGalleryPages(m_units, m_gallery.Address().c_str()); }

    // The rows the gallery's pages `first`..`last` of album 1075110353 give.
    std::vector<std::string> ExpectedAddresses(int first, int last) const
    {
        return test::AlbumPictureAddresses(m_gallery, first, last);
    }
    std::vector<std::string> PageTargets() const { return test::PageTargets(m_gallery); }

    gallery::GalleryServer m_gallery{0};
    RecordingUnits m_units;
};

TEST_F(GalleryRun, EachPageAddsARowPerSharePictureOfThePictureHost)
{
    TypePages("1", "3", m_gallery.Address() + "/tu/353/1075110353.shtml");
    Parse();

    EXPECT_EQ(m_units.settingsSaved, 1);
    EXPECT_EQ(PageTargets(), (std::vector<std::string>{"/tu/353/1075110353_1.shtml", "/tu/353/1075110353_2.shtml",
                                                       "/tu/353/1075110353_3.shtml"}));
    std::vector<std::string> expected = ExpectedAddresses(1, 3);
    ASSERT_EQ(m_units.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_units.rows[i][0], std::to_string(i + 1));
        EXPECT_EQ(m_units.rows[i][1], expected[i]);
        EXPECT_EQ(m_units.rows[i][2], Gbk("等待下载————————"));
        EXPECT_EQ(m_units.rows[i][2].size(), 24u);
    }
    EXPECT_EQ(m_units.visibleRows.size(), expected.size());
    EXPECT_EQ(m_units.statusTexts,
              (std::vector<std::string>{Gbk("正在解析第1页内容。"), Gbk("正在解析第2页内容。"), Gbk("正在解析第3页内容。"),
                                        Gbk("解析完成------->共找到" + std::to_string(expected.size()) + "张图片。")}));
}

TEST_F(GalleryRun, ASecondParseAppendsAndTheCountCoversTheWholeList)
{
    TypePages("2", "2", m_gallery.Address() + "/tu/353/1075110353.shtml");
    Parse();
    const size_t first = m_units.rows.size();
    Parse();
    ASSERT_EQ(m_units.rows.size(), 2 * first);
    EXPECT_EQ(m_units.rows[first][0], std::to_string(first + 1));
    EXPECT_EQ(m_units.rows[first][1], m_units.rows[0][1]);  // duplicates are kept
    EXPECT_EQ(m_units.statusTexts.back(), Gbk("解析完成------->共找到" + std::to_string(2 * first) + "张图片。"));
}

TEST_F(GalleryRun, PagesComeFromTheBaseAddressWithEveryShtmlRemoved)
{
    // Start above end: nothing is fetched, and the count is of the rows there.
    m_units.rows.resize(2);
    TypePages("3", "1", m_gallery.Address() + "/tu/1.shtml");
    Parse();
    EXPECT_TRUE(m_gallery.RequestTargets().empty());
    EXPECT_EQ(m_units.statusTexts, std::vector<std::string>{Gbk("解析完成------->共找到2张图片。")});

    // Without ".shtml" the address is used as it is; with it twice, both go.
    TypePages("2", "2", m_gallery.Address() + "/tu/");
    Parse();
    TypePages("1", "1", m_gallery.Address() + "/a.shtml/1075110353.shtml");
    Parse();
    // Not numbers: page 0, once.
    TypePages("x", "y", m_gallery.Address() + "/z");
    Parse();
    EXPECT_EQ(PageTargets(), (std::vector<std::string>{"/tu/_2.shtml", "/a/1075110353_1.shtml", "/z_0.shtml"}));
    // Only the second of them is a gallery page.
    EXPECT_EQ(m_units.rows.size(), 2 + ExpectedAddresses(1, 1).size());
}

TEST_F(GalleryRun, PicturesOnAnotherHostAreNotTaken)
{
    TypePages("1", "2", m_gallery.Address() + "/tu/1075110353.shtml");
    app::ParseGalleryPages(m_units, "http://127.0.0.1:1");
    EXPECT_EQ(PageTargets().size(), 2u);
    EXPECT_TRUE(m_units.rows.empty());
    EXPECT_EQ(m_units.statusTexts.back(), Gbk("解析完成------->共找到0张图片。"));
}

TEST_F(GalleryRun, AnEndPageAtTheTopOfTheIntegerRangeEndsTheLoop)
{
    const std::string top = std::to_string(std::numeric_limits<std::int32_t>::max());
    TypePages(top, top, m_gallery.Address() + "/tu/1");
    Parse();
    EXPECT_EQ(PageTargets(), std::vector<std::string>{"/tu/1_" + top + ".shtml"});
}

TEST_F(GalleryRun, TheDownloadWritesEachRowsPictureUnderItsNumber)
{
    test::ScopedTempDir dir;
    TypePages("1", "2", m_gallery.Address() + "/tu/353/1075110353.shtml");
    Parse();
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.Path());
    m_units.statusTexts.clear();
    m_units.visibleRows.clear();

    app::DownloadAllPictures(m_units);

    EXPECT_EQ(m_units.statusTexts, (std::vector<std::string>{Gbk("正在下载中......"), Gbk("全部下载完成。")}));
    const std::vector<std::string> expected = ExpectedAddresses(1, 2);
    ASSERT_EQ(m_units.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(test::ReadHostFile(dir.File(std::to_string(i + 1) + ".jpg")), test::ServedPicture(m_gallery, expected[i]))
            << i;
        EXPECT_EQ(m_units.rows[i][2], Gbk("下载完成"));
    }
    EXPECT_EQ(m_units.visibleRows.size(), m_units.rows.size());

    // A second run overwrites the files.
    const std::string first = dir.File("1.jpg");
    std::filesystem::resize_file(first, 3);
    app::DownloadAllPictures(m_units);
    EXPECT_GT(std::filesystem::file_size(first), 3u);
}

TEST_F(GalleryRun, APictureThatDidNotArriveIsMarkedFailedAndLeavesNoFile)
{
    test::ScopedTempDir dir;
    const std::string picture = m_gallery.Address() + gallery::SharePicturePaths({"5", 1})[0];
    const std::string path = gallery::SharePicturePaths({"5", 1})[0];
    const std::vector<std::string> failing = {
        m_gallery.Address() + "/missing.jpg",               // 404: an error page, not a picture
        m_gallery.Address() + "/fault/status/500" + path,  // a server error
        m_gallery.Address() + "/fault/empty" + path,       // 200 without a body
        m_gallery.Address() + "/fault/truncated" + path,   // cut short
        m_gallery.Address() + "/fault/reset" + path,       // reset
        "http://127.0.0.1:1/x.jpg",                         // nobody listens
        "",                                                 // no address
    };
    for (size_t i = 0; i < failing.size(); ++i)
        m_units.rows.push_back({std::to_string(i + 1), failing[i], ""});
    m_units.rows.push_back({"ok", picture, ""});
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.Path());
    // An earlier picture of the same name keeps its content.
    dir.Write("1.jpg", "earlier picture");

    app::DownloadAllPictures(m_units);

    for (size_t i = 0; i < failing.size(); ++i) {
        EXPECT_EQ(m_units.rows[i][2], Gbk("下载失败")) << failing[i];
        if (i > 0) {
            EXPECT_FALSE(std::filesystem::exists(dir.File(std::to_string(i + 1) + ".jpg"))) << failing[i];
        }
    }
    EXPECT_EQ(test::ReadHostFile(dir.File("1.jpg")), "earlier picture");
    EXPECT_EQ(m_units.rows.back()[2], Gbk("下载完成"));
    EXPECT_FALSE(test::ReadHostFile(dir.File("ok.jpg")).empty());
    // Nothing but the pictures: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST_F(GalleryRun, ADownloadIntoAMissingFolderFailsEachRowAndMakesNoFolder)
{
    test::ScopedTempDir dir;
    m_units.rows.push_back({"1", m_gallery.Address() + gallery::SharePicturePaths({"5", 1})[0], ""});
    // A folder typed with its closing separator gets no second one.
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.Path()) + "\\none\\";
    app::DownloadAllPictures(m_units);
    EXPECT_EQ(m_units.rows[0][2], Gbk("下载失败"));  // the file could not be written
    EXPECT_FALSE(std::filesystem::exists(dir.File("none")));  // the worker makes no folder

    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.Path()) + "\\";
    app::DownloadAllPictures(m_units);
    EXPECT_EQ(m_units.rows[0][2], Gbk("下载完成"));
    EXPECT_FALSE(test::ReadHostFile(dir.File("1.jpg")).empty());

    // A folder whose last character has the trail byte of "\\" ("乗") still
    // gets its separator: the picture goes into it, not beside it.
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("乗")));
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.File("乗"));
    app::DownloadAllPictures(m_units);
    EXPECT_FALSE(test::ReadHostFile(dir.File("乗/1.jpg")).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("乗1.jpg")));
}

// The window's units, with the list cleared as soon as the first row is done
// or, with `whileRequesting`, once the worker has read the first row's cells
// and asks for its picture.
class ClearingUnits final : public app::MainWindowUnits {
public:
    explicit ClearingUnits(RecordingUnits& inner, bool whileRequesting = false)
        : m_inner(inner), m_whileRequesting(whileRequesting)
    {
    }
    app::OwnedText Content(app::EditBox box) override { return m_inner.Content(box); }
    void SaveSettings() override {}
    void SetStatusText(const char* text) override { m_inner.SetStatusText(text); }
    std::int32_t InsertRow() override { return m_inner.InsertRow(); }
    void SetCellText(std::int32_t row, std::int32_t column, const char* text) override
    {
        m_inner.SetCellText(row, column, text);
        if (column == app::kStatusColumn)
            m_inner.rows.clear();  // the clear button, pressed meanwhile
    }
    app::OwnedText GetCellText(std::int32_t row, std::int32_t column) override
    {
        app::OwnedText text = m_inner.GetCellText(row, column);
        ++m_cellsRead;
        if (m_whileRequesting && m_cellsRead == 2)
            m_inner.rows.clear();
        return text;
    }
    std::int32_t GetRowCount() override { return m_inner.GetRowCount(); }
    void EnsureRowVisible(std::int32_t) override {}

private:
    RecordingUnits& m_inner;
    bool m_whileRequesting;
    int m_cellsRead = 0;
};

TEST_F(GalleryRun, RowsClearedDuringTheDownloadAreSkipped)
{
    test::ScopedTempDir dir;
    const auto paths = gallery::SharePicturePaths({"5", 1});
    for (size_t i = 0; i < paths.size(); ++i)
        m_units.rows.push_back({std::to_string(i + 1), m_gallery.Address() + paths[i], ""});
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(dir.Path());
    ClearingUnits units(m_units);
    app::DownloadAllPictures(units);

    EXPECT_EQ(m_gallery.RequestTargets(), std::vector<std::string>{paths[0]});  // one request only
    EXPECT_TRUE(std::filesystem::exists(dir.File("1.jpg")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no ".jpg"
    EXPECT_EQ(m_units.statusTexts.back(), Gbk("全部下载完成。"));

    // Cleared while the first picture is on its way: it is not kept, under
    // its name or under ".jpg", and nothing more is asked for.
    test::ScopedTempDir second;
    for (size_t i = 0; i < paths.size(); ++i)
        m_units.rows.push_back({std::to_string(i + 1), m_gallery.Address() + paths[i], ""});
    m_units.contents[app::EditBox::SaveFolder] = kernel::ToRuntimePath(second.Path());
    ClearingUnits duringRequest(m_units, true);
    app::DownloadAllPictures(duringRequest);
    EXPECT_EQ(m_gallery.RequestTargets(), (std::vector<std::string>{paths[0], paths[0]}));
    EXPECT_TRUE(std::filesystem::is_empty(second.Path()));
    EXPECT_EQ(m_units.statusTexts.back(), Gbk("全部下载完成。"));
}

TEST(GalleryPages, AddressesPatternsAndRowNumbers)
{
    app::WireProgram();
    EXPECT_EQ(Str(app::BaseAddress("http://h/353/1075110353.shtml")), "http://h/353/1075110353");
    EXPECT_EQ(Str(app::BaseAddress("a.shtml.shtml")), "a");
    EXPECT_EQ(Str(app::BaseAddress("a.SHTML")), "a.SHTML");  // letter case counts
    EXPECT_EQ(Str(app::PageAddress("http://h/1", 12)), "http://h/1_12.shtml");
    EXPECT_EQ(Str(app::PageAddress("x", -3)), "x_-3.shtml");
    EXPECT_EQ(Str(app::PicturePattern("http://127.0.0.1:8808")),
              Gbk("<img src=#引号http://127.0.0.1:8808/740x-/uploadImages/(.*?)#引号([\\S\\s]*?)"));
    EXPECT_EQ(Str(app::PicturePrefix("http://127.0.0.1:8808")), "http://127.0.0.1:8808/740x-/uploadImages/");
    EXPECT_EQ(Str(app::RowNumberText(0)), "1");
    EXPECT_EQ(Str(app::RowNumberText(41)), "42");
}

}  // namespace
