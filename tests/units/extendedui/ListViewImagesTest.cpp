// The report list's image lists, built from their stored blobs: row images
// for the first cell and the sub-items, state images before the row image,
// header images in the report view; stored rows keep only indexes the lists
// have; a blob that holds no image list leaves the list without one.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QImage>

#include <vector>

#include "tests/support/ImageListFiles.h"
#include "tests/units/extendedui/ExtendedUiForm.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"
#include "units/listview/ListViewStyles.h"
#include "units/listview/ListViewWidget.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using runtime::ExtendedUiCommand;

constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kGreen = 0x00FF00;
constexpr Rgb kBlue = 0x0000FF;
constexpr Rgb kYellow = 0xFFFF00;

units::Bytes Blob(const ImageListDraft& draft)
{
    Bytes bytes = ImageListBlobBytes(draft);
    return units::Bytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

units::ListViewProperties ReportWithImages()
{
    units::ListViewProperties p;
    p.ViewType = units::kReportView;
    std::vector<units::ListViewColumn> columns = {{0, 1, 0, 80, "a"}, {0, -1, 0, 80, "b"}, {0, 7, 0, 80, "c"}};
    p.Columns = units::WriteListViewColumns(columns);
    p.NormalImages = Blob(PlainImages(16, 16, {kRed, kGreen}));
    p.StateImages = Blob(PlainImages(8, 16, {kBlue}));
    p.HeaderImages = Blob(PlainImages(10, 10, {kYellow, kGreen}));
    return p;
}

QColor ColourOf(Rgb rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class ListViewImages : public ExtendedUiForm {
protected:
    QAbstractItemModel& Model() { return *List()->View()->model(); }
    QImage Decoration(int row, int column)
    {
        return Model().data(Model().index(row, column), Qt::DecorationRole).value<QImage>();
    }
};

TEST_F(ListViewImages, StoredRowsShowTheImagesTheirIndexesNameAndNoOthers)
{
    units::ListViewProperties p = ReportWithImages();
    std::vector<units::ListViewRowRecord> rows = {
        {0, 1, 0, 0, 0, "green with state", ""}, {1, 0, -1, 0, 0, "red sub-item", ""},
        {0, 2, 1, 0, 0, "no such image", ""},    {0, -1, -1, 0, 0, "none", ""},
    };
    p.InitialRows = units::WriteListViewRows(rows);
    Load(p);
    units::CListViewUnit& list = *List();
    List()->FlushView();
    ASSERT_EQ(RowCount(), 3);

    // Row 0: the state image (8 wide, blue) before the row image (green).
    QImage first = Decoration(0, 0);
    ASSERT_EQ(first.size(), QSize(24, 16));
    EXPECT_EQ(first.pixelColor(2, 5), ColourOf(kBlue));
    EXPECT_EQ(first.pixelColor(8 + 3, 5), ColourOf(kGreen));
    EXPECT_EQ(list.CellNumber(units::CellField::Image, 0, 0), 1);
    EXPECT_EQ(list.CellNumber(units::CellField::CheckState, 0, 0), 0);  // state image 0
    EXPECT_EQ(Decoration(0, 1).pixelColor(0, 0), ColourOf(kRed));

    // Row 1: image 2 and state image 1 are past the lists' ends.
    EXPECT_EQ(list.CellNumber(units::CellField::Image, 1, 0), -1);
    EXPECT_EQ(list.CellNumber(units::CellField::CheckState, 1, 0), -1);
    EXPECT_TRUE(Decoration(1, 0).isNull());
    EXPECT_TRUE(Decoration(2, 0).isNull());
    EXPECT_EQ(List()->View()->iconSize(), QSize(16, 16));

    // Header images by the columns' indexes: 1 is green, 7 does not exist.
    EXPECT_EQ(Model().headerData(0, Qt::Horizontal, Qt::DecorationRole).value<QImage>().pixelColor(4, 4),
              ColourOf(kGreen));
    EXPECT_FALSE(Model().headerData(1, Qt::Horizontal, Qt::DecorationRole).isValid());
    EXPECT_FALSE(Model().headerData(2, Qt::Horizontal, Qt::DecorationRole).isValid());
}

TEST_F(ListViewImages, RowsAddedByCommandsShowTheirImageIndex)
{
    Load(ReportWithImages());
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("r"), Int(0)});
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("g"), Int(1)});
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("none"), Int(5)});
    List()->FlushView();
    EXPECT_EQ(Decoration(0, 0).pixelColor(7, 7), ColourOf(kRed));
    EXPECT_EQ(Decoration(1, 0).pixelColor(7, 7), ColourOf(kGreen));
    EXPECT_TRUE(Decoration(2, 0).isNull());
    // A sub-item image set by the accessor.
    List()->SetCell(units::CellField::Image, 2, 1, 1, {});
    EXPECT_EQ(Decoration(2, 1).pixelColor(0, 15), ColourOf(kGreen));
}

TEST_F(ListViewImages, WritingABlobRebuildsItsListAndABadBlobLeavesNone)
{
    units::ListViewProperties p = ReportWithImages();
    p.NormalImages = {};
    Load(p);
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("a"), Int(1)});
    List()->FlushView();
    EXPECT_TRUE(Decoration(0, 0).isNull());

    forms::UnitPropertyValue value;
    value.bytes = Blob(PlainImages(12, 12, {kRed, kYellow}));
    EXPECT_EQ(List()->WriteProperty(16, value), 0);  // NormalImages: no new window
    EXPECT_EQ(Decoration(0, 0).pixelColor(5, 5), ColourOf(kYellow));
    EXPECT_EQ(List()->View()->iconSize(), QSize(12, 12));

    // Another magic: no image list at all, and nothing shown.
    Bytes other = ImageListBlobBytes(PlainImages(12, 12, {kRed, kYellow}));
    other[3] = 'X';
    value.bytes = units::Bytes(std::vector<std::uint8_t>(other.begin(), other.end()));
    List()->WriteProperty(16, value);
    EXPECT_TRUE(Decoration(0, 0).isNull());

    // Header images: a too-short blob takes them away.
    value.bytes = units::Bytes(std::vector<std::uint8_t>{'M', 'I', 'T', 'L', 0, 0, 0, 0});
    EXPECT_EQ(List()->WriteProperty(11, value), 0);
    EXPECT_FALSE(Model().headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
}

TEST_F(ListViewImages, CheckBoxesTakeThePlaceOfTheStateImages)
{
    units::ListViewProperties p = ReportWithImages();
    p.CheckBoxes = 1;
    std::vector<units::ListViewRowRecord> rows = {{0, 0, 0, 0, 0, "checked by its state", ""}};
    p.InitialRows = units::WriteListViewRows(rows);
    Load(p);
    List()->FlushView();
    // Only the row image; the state sits in the check box.
    EXPECT_EQ(Decoration(0, 0).size(), QSize(16, 16));
    EXPECT_EQ(Model().data(Model().index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ListViewImages, HeaderImagesBelongToTheReportViewOnly)
{
    units::ListViewProperties p = ReportWithImages();
    p.ViewType = 1;
    Load(p);
    EXPECT_FALSE(Model().headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
}

}  // namespace
