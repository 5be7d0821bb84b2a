// The report list's views other than the report (large icons, small icons,
// a list flowing in columns) and hot tracking with its underlines.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <string>
#include <vector>

#include "forms/engine/UnitProperties.h"
#include "tests/support/ImageListFiles.h"
#include "tests/units/extendedui/ExtendedUiForm.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewDelegate.h"
#include "units/listview/ListViewItemView.h"
#include "units/listview/ListViewStyles.h"
#include "units/listview/ListViewWidget.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using runtime::ExtendedUiCommand;

units::ListViewProperties InView(std::int32_t view)
{
    units::ListViewProperties p;
    p.ViewType = view;
    std::vector<units::ListViewColumn> columns = {{0, -1, 0, 80, "a"}, {0, -1, 0, 80, "b"}};
    p.Columns = units::WriteListViewColumns(columns);
    return p;
}

class ListViewViews : public ExtendedUiForm {
protected:
    QListView* Icons() { return qobject_cast<QListView*>(List()->View()); }
    DWORD ViewStyle() { return static_cast<DWORD>(GetWindowLongA(List()->Handle(), GWL_STYLE)) & units::LVS_TYPEMASK; }
    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::string text = "row " + std::to_string(i);
            OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text(text)});
        }
        List()->FlushView();
    }
};

TEST_F(ListViewViews, LargeIconsShowTheFirstCellsWithTheirImagesAndNoHeader)
{
    units::ListViewProperties p = InView(0);
    Bytes blob = ImageListBlobBytes(PlainImages(32, 32, {0xFF0000}));
    p.NormalImages = units::Bytes(std::vector<std::uint8_t>(blob.begin(), blob.end()));
    Load(p);
    EXPECT_EQ(ViewStyle(), units::LVS_ICON);
    EXPECT_EQ(List()->Widget(), nullptr);  // no table, no header
    QListView* icons = Icons();
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->viewMode(), QListView::IconMode);
    EXPECT_EQ(icons->flow(), QListView::LeftToRight);
    EXPECT_TRUE(icons->wordWrap());
    EXPECT_EQ(icons->iconSize(), QSize(32, 32));
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("picture"), Int(0)});
    AddRows(2);
    EXPECT_EQ(icons->model()->rowCount(), 3);
    EXPECT_EQ(icons->model()->data(icons->model()->index(0, 0)).toString(), "picture");
    EXPECT_FALSE(icons->model()->data(icons->model()->index(0, 0), Qt::DecorationRole).isNull());
    // Side by side, the second to the right of the first.
    QRect first = icons->visualRect(icons->model()->index(0, 0));
    QRect second = icons->visualRect(icons->model()->index(1, 0));
    EXPECT_GT(second.left(), first.left());
    EXPECT_EQ(second.top(), first.top());
    // Without columns there are no sub-items to write.
    OnList(ExtendedUiCommand::SetCellText, {Int(0), Int(1), Text("x")});
    EXPECT_EQ(CellText(0, 1), "");
}

TEST_F(ListViewViews, LeftAlignedIconsFillColumnsAndUnwrappedLabelsStayOnOneLine)
{
    units::ListViewProperties p = InView(0);
    p.IconAlignment = 1;
    p.LabelWrap = 0;
    Load(p);
    EXPECT_TRUE(GetWindowLongA(List()->Handle(), GWL_STYLE) & units::LVS_NOLABELWRAP);
    EXPECT_EQ(Icons()->flow(), QListView::TopToBottom);
    EXPECT_FALSE(Icons()->wordWrap());
    // Wrapping switched on at once, without a new window.
    forms::UnitPropertyValue on;
    on.number = 1;
    EXPECT_EQ(List()->WriteProperty(8, on), 0);
    EXPECT_FALSE(GetWindowLongA(List()->Handle(), GWL_STYLE) & units::LVS_NOLABELWRAP);
    EXPECT_TRUE(Icons()->wordWrap());
}

TEST_F(ListViewViews, SmallIconsGoInRowsAndTheListFlowsDownInColumns)
{
    Load(InView(1));
    EXPECT_EQ(ViewStyle(), units::LVS_SMALLICON);
    ASSERT_NE(Icons(), nullptr);
    EXPECT_EQ(Icons()->viewMode(), QListView::ListMode);
    EXPECT_EQ(Icons()->flow(), QListView::LeftToRight);
    EXPECT_EQ(Icons()->iconSize(), QSize(16, 16));

    // View type 2 through the form engine: a new window, a list.
    forms::WriteUnitProperty(kTestFormId, kListId, 8 + 5, -1, 2, 0);
    EXPECT_EQ(ViewStyle(), units::LVS_LIST);
    ASSERT_NE(Icons(), nullptr);
    EXPECT_EQ(Icons()->viewMode(), QListView::ListMode);
    EXPECT_EQ(Icons()->flow(), QListView::TopToBottom);
    AddRows(3);
    QRect first = Icons()->visualRect(Icons()->model()->index(0, 0));
    QRect second = Icons()->visualRect(Icons()->model()->index(1, 0));
    EXPECT_GT(second.top(), first.top());
    EXPECT_EQ(second.left(), first.left());

    // And back to the report: the table with its header.
    forms::WriteUnitProperty(kTestFormId, kListId, 8 + 5, -1, 3, 0);
    ASSERT_NE(List()->Widget(), nullptr);
    EXPECT_EQ(List()->Widget()->header()->count(), 2);
}

TEST_F(ListViewViews, LabelEditingWorksInTheIconViews)
{
    units::ListViewProperties p = InView(1);
    p.EditLabels = 1;
    Load(p);
    AddRows(2);
    QAbstractItemView* view = List()->View();
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_F2);
    auto* hooks = dynamic_cast<units::ListViewHooks*>(view);
    ASSERT_NE(hooks, nullptr);
    EXPECT_TRUE(hooks->EditingLabel());
    QLineEdit* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("renamed");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(WaitFor([&] { return CellText(1, 0) == "renamed"; }));
}

class HotTracking : public ListViewViews {
protected:
    void LoadTracking(bool tracking, bool hot, bool cold)
    {
        units::ListViewProperties p = InView(units::kReportView);
        p.HotTracking = tracking;
        p.UnderlineHot = hot;
        p.UnderlineCold = cold;
        Load(p);
        AddRows(3);
    }
    // Moves the mouse over `row` and answers the hot row.
    int HoverOver(int row)
    {
        QAbstractItemView* view = List()->View();
        QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        return dynamic_cast<units::ListViewHooks*>(view)->HotRow();
    }
};

TEST_F(HotTracking, TheRowUnderTheMouseIsHotAndUnderlinedAsTheRecordSays)
{
    LoadTracking(true, true, false);
    EXPECT_TRUE(List()->ListViewExStyle() & units::LVS_EX_UNDERLINEHOT);
    EXPECT_FALSE(List()->ListViewExStyle() & units::LVS_EX_UNDERLINECOLD);
    ASSERT_EQ(HoverOver(1), 1);
    const units::ListViewDelegate& delegate = *List()->Delegate();
    EXPECT_TRUE(delegate.Underlined(1, 1));
    EXPECT_FALSE(delegate.Underlined(0, 1));
    EXPECT_EQ(HoverOver(2), 2);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(List()->View()->viewport(), &leave);
    EXPECT_EQ(dynamic_cast<units::ListViewHooks*>(List()->View())->HotRow(), -1);
}

TEST_F(HotTracking, ColdUnderlinesEveryOtherRowAndNoTrackingNone)
{
    LoadTracking(true, false, true);
    const units::ListViewDelegate* delegate = List()->Delegate();
    EXPECT_FALSE(delegate->Underlined(1, 1));
    EXPECT_TRUE(delegate->Underlined(0, 1));
    EXPECT_TRUE(delegate->Underlined(0, -1));

    // The underlines belong to hot tracking: without it, none, and the
    // mouse makes no row hot.
    forms::WriteUnitProperty(kTestFormId, kListId, 8 + 18, -1, 0, 0);  // HotTracking off: a new window
    AddRows(2);
    EXPECT_FALSE(List()->Delegate()->Underlined(0, 1));
    EXPECT_FALSE(List()->Delegate()->Underlined(1, 1));
    EXPECT_EQ(HoverOver(1), -1);
}

}  // namespace
