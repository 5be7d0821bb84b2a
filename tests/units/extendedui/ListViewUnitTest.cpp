// The report list unit on a real form: how it is created from its record,
// its commands through the library's command slots, its properties with
// their clamps and re-creation answers, and its events with their arguments
// and order.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <cstring>
#include <string>
#include <vector>

#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/UnitProperties.h"
#include "forms/engine/UnitType.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/RuntimeHeap.h"
#include "units/common/UnitHost.h"
#include "tests/support/GbkText.h"
#include "tests/support/ScopedTempDir.h"
#include "tests/units/extendedui/ExtendedUiForm.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"
#include "units/listview/ListViewStyles.h"
#include "units/listview/ListViewWidget.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using runtime::ExtendedUiCommand;

constexpr std::int32_t kDarkGrey = 0x00ECECEC;

// Handler positions of this file's handler list.
enum : std::uint32_t { kLog = 0, kLogAndRefuse = 1, kDestroyList = 2 };

std::string Line(const forms::EventCall& call)
{
    std::string line = "event " + std::to_string(call.event);
    for (std::int64_t argument : call.arguments)
        line += " " + std::to_string(argument);
    // What the label-edit-ended handler can read of the unit.
    if (call.event == 7) {
        auto* list = dynamic_cast<units::CListViewUnit*>(forms::ResolveUnit(call.formId, call.unitId));
        line += " [" + (list ? Utf8(list->EditedText()) : std::string("no unit")) + "]";
    }
    return line;
}

// Only the list's events: the form window raises its own on loading.
void Log(forms::EventCall& call)
{
    if (call.unitId == kListId)
        Journal().push_back(Line(call));
}

void LogAndRefuse(forms::EventCall& call)
{
    Log(call);
    call.hasResult = true;
    call.result = 0;
}

// A handler that takes the list away while the list is raising its event.
void DestroyList(forms::EventCall& call)
{
    Log(call);
    if (auto* list = forms::ResolveUnit(call.formId, call.unitId))
        DestroyWindow(list->Handle());
}

units::Bytes ThreeColumns(std::int32_t secondAlignment = 0, std::int32_t thirdAlignment = 0)
{
    std::vector<units::ListViewColumn> columns = {
        {0, -1, 0, 100, Gbk("序号")},
        {0, -1, secondAlignment, 500, Gbk("图片下载地址")},
        {0, -1, thirdAlignment, 150, Gbk("下载状态")},
    };
    return units::WriteListViewColumns(columns);
}

units::ListViewProperties StartFormList()
{
    units::ListViewProperties p;
    p.BorderStyle = 3;
    p.TextBackColour = kDarkGrey;
    p.ViewType = units::kReportView;
    p.FullRowSelect = 1;
    p.GridLines = 1;
    p.Columns = ThreeColumns();
    return p;
}

forms::UnitPropertyValue Number(std::int64_t number)
{
    forms::UnitPropertyValue value;
    value.number = number;
    return value;
}

class ListView : public ExtendedUiForm {
protected:
    void SetUp() override
    {
        ExtendedUiForm::SetUp();
        static const forms::EventHandler handlers[] = {Log, LogAndRefuse, DestroyList};
        forms::SetEventHandlers(handlers);
    }
    units::ListViewWidget& View() { return *List()->Widget(); }
    QAbstractItemModel& Model() { return *View().model(); }
    std::vector<std::string> Events() { return JournalLines("event "); }
    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::string text = "row " + std::to_string(i);
            OnList(ExtendedUiCommand::InsertRow);
            OnList(ExtendedUiCommand::SetCellText, {Int(i), Int(0), Text(text)});
        }
        List()->FlushView();
    }
};

TEST_F(ListView, IsAReportWithTheStoredColumnsStylesAndColours)
{
    Load(StartFormList());
    HWND window = List()->Handle();
    char className[32];
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "SysListView32");
    auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & units::LVS_TYPEMASK, units::LVS_REPORT);
    EXPECT_TRUE(style & units::LVS_SINGLESEL);
    EXPECT_TRUE(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_STATICEDGE);  // border style 3
    EXPECT_EQ(List()->ListViewExStyle(), units::LVS_EX_FULLROWSELECT | units::LVS_EX_GRIDLINES |
                                             units::LVS_EX_INFOTIP | units::LVS_EX_SUBITEMIMAGES);
    EXPECT_EQ(ui::WidgetOf(window)->geometry(), QRect(24, 104, 759, 236));

    QHeaderView* header = View().header();
    EXPECT_FALSE(header->isHidden());
    ASSERT_EQ(Model().columnCount(), 3);
    EXPECT_EQ(header->sectionSize(0), 100);
    EXPECT_EQ(header->sectionSize(1), 500);
    EXPECT_EQ(header->sectionSize(2), 150);
    EXPECT_EQ(Model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8("图片下载地址"));
    EXPECT_TRUE(header->sectionsClickable());
    EXPECT_EQ(RowCount(), 0);

    OnList(ExtendedUiCommand::InsertRow);
    List()->FlushView();
    QModelIndex cell = Model().index(0, 1);
    EXPECT_EQ(Model().data(cell, Qt::BackgroundRole).value<QBrush>().color(), QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(Model().data(cell, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 0));
    EXPECT_EQ(View().palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST_F(ListView, ColumnsAreAlignedByTheirRecordAnyOtherValueLeft)
{
    units::ListViewProperties p = StartFormList();
    std::vector<units::ListViewColumn> columns = {
        {0, -1, 1, 50, "c"}, {0, -1, 2, 50, "r"}, {0, -1, 7, 50, "l"}, {0, -1, 0, 50, "l"}};
    p.Columns = units::WriteListViewColumns(columns);
    Load(p);
    AddRows(1);
    auto alignment = [&](int column) {
        return Model().data(Model().index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(0), Qt::AlignHCenter);
    EXPECT_EQ(alignment(1), Qt::AlignRight);
    EXPECT_EQ(alignment(2), Qt::AlignLeft);
    EXPECT_EQ(alignment(3), Qt::AlignLeft);
    EXPECT_EQ(Model().headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
}

TEST_F(ListView, InsertRowAppendsForOmittedOrNegativePositionsAndInsertsElsewhere)
{
    Load(StartFormList());
    EXPECT_EQ(OnList(ExtendedUiCommand::InsertRow).Int(), 0);
    EXPECT_EQ(OnList(ExtendedUiCommand::InsertRow, {Int(-5), Text("second")}).Int(), 1);
    EXPECT_EQ(OnList(ExtendedUiCommand::InsertRow, {Int(0), Text("first")}).Int(), 0);
    EXPECT_EQ(OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("last")}).Int(), 3);
    EXPECT_EQ(RowCount(), 4);
    bool null = false;
    EXPECT_EQ(CellText(0, 0), "first");
    EXPECT_EQ(CellText(1, 0, &null), "");
    EXPECT_TRUE(null);  // the empty text is the null text
    EXPECT_EQ(CellText(2, 0), "second");
    EXPECT_EQ(CellText(3, 0), "last");
    // The view learns of the rows with its batch.
    EXPECT_TRUE(WaitFor([&] { return Model().rowCount() == 4; }));
    EXPECT_EQ(Model().data(Model().index(0, 0), Qt::DisplayRole).toString(), "first");
}

TEST_F(ListView, ARowInsertedBeforeTheEndIsShownAtOnceAndTheSelectionStaysOnItsRow)
{
    Load(StartFormList());
    for (const char* text : {"a", "b", "c", "d"})
        OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text(text)});
    List()->FlushView();
    View().setCurrentIndex(Model().index(2, 0));
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text("appended")});
    EXPECT_EQ(Model().rowCount(), 4) << "an appended row waits for the batch";
    OnList(ExtendedUiCommand::InsertRow, {Int(0), Text("front")});
    EXPECT_EQ(Model().rowCount(), 6) << "told at once, after the batch before it";
    EXPECT_EQ(Model().data(Model().index(0, 0), Qt::DisplayRole).toString(), "front");
    EXPECT_EQ(Model().data(Model().index(5, 0), Qt::DisplayRole).toString(), "appended");
    EXPECT_EQ(View().currentIndex().row(), 3);
    EXPECT_EQ(Model().data(View().currentIndex(), Qt::DisplayRole).toString(), "c");
}

TEST_F(ListView, APictureOfTheWindowShowsRowsTheBatchHasNotToldTheViewOfYet)
{
    Load(StartFormList());
    for (const char* text : {"a", "b", "c"})
        OnList(ExtendedUiCommand::InsertRow, {LeftOut(), Text(text)});
    OnList(ExtendedUiCommand::SetCellText, {Int(2), Int(1), Text("changed")});
    ASSERT_LT(Model().rowCount(), 3) << "the last row waits for the batch";
    ScopedTempDir dir;
    ASSERT_TRUE(ui::RenderWindowToPng(GetParent(List()->Handle()), dir.File("window.png").c_str()));
    EXPECT_EQ(Model().rowCount(), 3);
    EXPECT_EQ(Model().data(Model().index(2, 1), Qt::DisplayRole).toString(), "changed");
}

TEST_F(ListView, InsertRowArgumentsAreClampedAndStored)
{
    Load(StartFormList());
    OnList(ExtendedUiCommand::InsertRow, {LeftOut(), LeftOut(), Int(-9), Int(3), Int(-4), Int(77)});
    EXPECT_EQ(List()->CellNumber(units::CellField::Image, 0, 0), -1);
    EXPECT_EQ(List()->CellNumber(units::CellField::Indent, 0, 0), 0);
    EXPECT_EQ(List()->CellNumber(units::CellField::ItemData, 0, 0), 77);
    // The state image travels with a zero state mask: no state is set.
    EXPECT_EQ(List()->CellNumber(units::CellField::CheckState, 0, 0), -1);
}

TEST_F(ListView, SetCellTextDefaultsToColumnZeroAndTheEmptyText)
{
    Load(StartFormList());
    AddRows(1);
    OnList(ExtendedUiCommand::SetCellText, {Int(0), Int(2), Text("waiting")});
    OnList(ExtendedUiCommand::SetCellText, {Int(0), LeftOut(), Text("one")});
    EXPECT_EQ(CellText(0, 0), "one");
    EXPECT_EQ(CellText(0, 2), "waiting");
    OnList(ExtendedUiCommand::SetCellText, {Int(0), Int(2)});
    bool null = false;
    EXPECT_EQ(CellText(0, 2, &null), "");
    EXPECT_TRUE(null);
    // GetCellText with the column left out reads column 0.
    runtime::TypedValue result = OnList(ExtendedUiCommand::GetCellText, {Int(0)});
    ASSERT_NE(result.Pointer<char>(), nullptr);
    EXPECT_STREQ(result.Pointer<char>(), "one");
    runtime::RuntimeFree(result.Pointer<char>());
}

TEST_F(ListView, GetCellTextReturnsLongTextsWhole)
{
    Load(StartFormList());
    AddRows(1);
    std::string long600(600, 'x');
    long600[0] = 'a';
    long600[599] = 'z';
    OnList(ExtendedUiCommand::SetCellText, {Int(0), Int(1), Text(long600)});
    EXPECT_EQ(CellText(0, 1), long600);
    std::string huge(70000, 'q');
    OnList(ExtendedUiCommand::SetCellText, {Int(0), Int(2), Text(huge)});
    EXPECT_EQ(CellText(0, 2), huge);
}

TEST_F(ListView, RowsAndColumnsOutOfRangeLeaveTheListAndReadAsNull)
{
    Load(StartFormList());
    AddRows(2);
    for (auto [row, column] : {std::pair{2, 0}, {-1, 0}, {0, 3}, {1, -1}, {99999, 1}}) {
        OnList(ExtendedUiCommand::SetCellText, {Int(row), Int(column), Text("stray")});
        bool null = false;
        EXPECT_EQ(CellText(row, column, &null), "") << row << "," << column;
        EXPECT_TRUE(null) << row << "," << column;
    }
    OnList(ExtendedUiCommand::EnsureRowVisible, {Int(50)});
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(CellText(0, 0), "row 0");
    EXPECT_EQ(CellText(1, 0), "row 1");
    for (int row = 0; row < 2; ++row)
        for (int column = 1; column < 3; ++column)
            EXPECT_EQ(CellText(row, column), "") << row << "," << column;
}

TEST_F(ListView, DeleteAllRowsEmptiesListAndView)
{
    Load(StartFormList());
    AddRows(30);
    EXPECT_EQ(Model().rowCount(), 30);
    OnList(ExtendedUiCommand::DeleteAllRows);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(Model().rowCount(), 0);
    EXPECT_EQ(OnList(ExtendedUiCommand::InsertRow).Int(), 0);
}

TEST_F(ListView, EnsureRowVisibleScrollsTheRowIntoViewWithTheBatch)
{
    Load(StartFormList());
    AddRows(500);
    QModelIndex last = Model().index(499, 0);
    EXPECT_FALSE(View().viewport()->rect().contains(View().visualRect(last)));
    OnList(ExtendedUiCommand::EnsureRowVisible, {Int(499)});
    ASSERT_TRUE(WaitFor([&] { return View().viewport()->rect().contains(View().visualRect(last)); }));
}

TEST_F(ListView, AccessorsReadAndWriteImageCheckIndentAndData)
{
    units::ListViewProperties p = StartFormList();
    p.CheckBoxes = 1;
    Load(p);
    AddRows(1);
    units::CListViewUnit& list = *List();
    using units::CellField;
    EXPECT_EQ(list.CellNumber(CellField::CheckState, 0, 0), 0);  // a check box list starts rows unchecked
    list.SetCell(CellField::CheckState, 0, 0, 1, {});
    EXPECT_EQ(list.CellNumber(CellField::CheckState, 0, 0), 1);
    list.SetCell(CellField::CheckState, 0, 0, -7, {});
    EXPECT_EQ(list.CellNumber(CellField::CheckState, 0, 0), -1);
    list.SetCell(CellField::Image, 0, 1, -3, {});
    EXPECT_EQ(list.CellNumber(CellField::Image, 0, 1), -1);
    list.SetCell(CellField::Image, 0, 1, 4, {});
    EXPECT_EQ(list.CellNumber(CellField::Image, 0, 1), 4);
    list.SetCell(CellField::Indent, 0, 0, -2, {});
    EXPECT_EQ(list.CellNumber(CellField::Indent, 0, 0), 0);
    list.SetCell(CellField::ItemData, 0, 0, -123, {});
    EXPECT_EQ(list.CellNumber(CellField::ItemData, 0, 0), -123);
    EXPECT_FALSE(list.SetCell(CellField::ItemData, 1, 0, 5, {}));
    EXPECT_FALSE(list.CellNumber(CellField::ItemData, 1, 0).has_value());
}

TEST_F(ListView, PropertiesAreClampedStoredAndAskForRecreationWhereNeeded)
{
    Load(StartFormList());
    units::CListViewUnit& list = *List();
    EXPECT_EQ(list.WriteProperty(5, Number(7)), 1);  // ViewType
    EXPECT_EQ(list.Properties().ViewType, 3);
    EXPECT_EQ(list.WriteProperty(23, Number(-1)), 1);  // SortOrder
    EXPECT_EQ(list.Properties().SortOrder, 0);
    EXPECT_EQ(list.WriteProperty(23, Number(5)), 1);
    EXPECT_EQ(list.Properties().SortOrder, 2);
    EXPECT_EQ(list.WriteProperty(0, Number(9)), 0);  // BorderStyle
    EXPECT_EQ(list.Properties().BorderStyle, 5);
    EXPECT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(list.WriteProperty(6, Number(4)), 0);  // IconAlignment: report view, no re-creation
    EXPECT_EQ(list.Properties().IconAlignment, 1);
    EXPECT_EQ(list.WriteProperty(14, Number(0)), 1);  // GridLines in report view
    EXPECT_EQ(list.WriteProperty(19, Number(0)), 0);  // HandCursor without hot tracking
    EXPECT_EQ(list.WriteProperty(18, Number(1)), 1);  // HotTracking
    EXPECT_EQ(list.WriteProperty(19, Number(1)), 1);
    EXPECT_EQ(list.WriteProperty(27, Number(-8)), 0);  // CurrentRow
    EXPECT_EQ(list.Properties().CurrentRow, -1);

    list.WriteProperty(10, Number(1));  // HideColumnHeader, switched at once
    EXPECT_TRUE(View().header()->isHidden());
    EXPECT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & units::LVS_NOCOLUMNHEADER);

    list.WriteProperty(3, Number(0x000000FF));  // BackColour
    EXPECT_EQ(View().palette().color(QPalette::Base), QColor(255, 0, 0));
    forms::UnitPropertyValue read;
    EXPECT_EQ(list.ReadProperty(3, &read), 1);
    EXPECT_EQ(read.number, 0x000000FF);
    EXPECT_EQ(list.ReadProperty(31, &read), 0);

    auto saved = units::LoadRecord<units::ListViewProperties>(list.Save());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, list.Properties());
    EXPECT_EQ(list.Save()[0], 1);  // written as version 1
}

TEST_F(ListView, ARecreatingWriteRebuildsTheListFromItsRecord)
{
    units::ListViewProperties p = StartFormList();
    std::vector<units::ListViewRowRecord> rows = {{0, -1, -1, 0, 0, "stored", ""}};
    p.InitialRows = units::WriteListViewRows(rows);
    Load(p);
    AddRows(3);
    EXPECT_EQ(RowCount(), 4);
    units::CListViewUnit* before = List();
    // Through the form engine, as the application writes: SortOrder (index
    // 8 + 23) asks for a new window.
    forms::WriteUnitProperty(kTestFormId, kListId, 8 + 23, 0, static_cast<std::uint32_t>(-1), 0);
    units::CListViewUnit* after = List();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(after->Properties().SortOrder, 0);
    EXPECT_EQ(RowCount(), 1);  // the rows added by commands are gone, the stored one is back
    EXPECT_EQ(CellText(0, 0), "stored");
    EXPECT_EQ(after->Properties().Columns, p.Columns);
}

TEST_F(ListView, CurrentRowSelectsAndReadsTheFirstSelectedRow)
{
    Load(StartFormList());
    AddRows(5);
    units::CListViewUnit& list = *List();
    forms::UnitPropertyValue read;
    list.ReadProperty(27, &read);
    EXPECT_EQ(read.number, -1);
    list.WriteProperty(27, Number(3));
    list.ReadProperty(27, &read);
    EXPECT_EQ(read.number, 3);
    EXPECT_EQ(View().currentIndex().row(), 3);
    list.WriteProperty(27, Number(-1));
    list.ReadProperty(27, &read);
    EXPECT_EQ(read.number, -1);
    EXPECT_FALSE(View().currentIndex().isValid());
}

TEST_F(ListView, StoredRowsComeWithTheirCellsAndTips)
{
    units::ListViewProperties p = StartFormList();
    std::vector<units::ListViewRowRecord> rows = {
        {0, 5, 2, 3, 41, "one", "tip of one"}, {1, 0, -1, 0, 0, "one-b", "ignored"}, {1, 2, -1, 0, 0, "one-c", ""},
        {1, -1, -1, 0, 0, "no such column", ""}, {0, -1, -1, 0, 42, "two", ""},
    };
    p.InitialRows = units::WriteListViewRows(rows);
    p.CurrentRow = 1;
    Load(p);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(CellText(0, 0), "one");
    EXPECT_EQ(CellText(0, 1), "one-b");
    EXPECT_EQ(CellText(0, 2), "one-c");
    EXPECT_EQ(CellText(1, 0), "two");
    EXPECT_EQ(List()->CellNumber(units::CellField::ItemData, 1, 0), 42);
    EXPECT_EQ(List()->CellNumber(units::CellField::Indent, 0, 0), 3);
    EXPECT_EQ(List()->CellNumber(units::CellField::Image, 0, 0), -1);  // no image list
    EXPECT_EQ(List()->CellNumber(units::CellField::Image, 0, 2), 2);
    EXPECT_EQ(Model().data(Model().index(0, 1), Qt::ToolTipRole).toString(), "tip of one");
    EXPECT_FALSE(Model().data(Model().index(1, 0), Qt::ToolTipRole).isValid());
    EXPECT_EQ(View().currentIndex().row(), 1);

    // Rows added by commands have no tip; writing the stored rows brings
    // them back in place of everything.
    OnList(ExtendedUiCommand::InsertRow, {Int(0), Text("added")});
    List()->FlushView();
    EXPECT_FALSE(Model().data(Model().index(0, 0), Qt::ToolTipRole).isValid());
    forms::UnitPropertyValue stored;
    stored.bytes = p.InitialRows;
    List()->WriteProperty(29, stored);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(CellText(0, 0), "one");
}

TEST_F(ListView, ClicksRaiseRowFocusedThenClickedAndHeaderClicksTheColumn)
{
    Load(StartFormList(), {}, {{0, kLog}, {2, kLog}, {4, kLog}, {5, kLog}});
    AddRows(3);
    QRect row1 = View().visualRect(Model().index(1, 0));
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, row1.center());
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, row1.center());  // same row: not focused again
    QTest::mouseClick(View().viewport(), Qt::RightButton, {}, View().visualRect(Model().index(2, 0)).center());
    QHeaderView* header = View().header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 0", "event 4", "event 4", "event 0", "event 5",
                                                  "event 2 2"}));
}

TEST_F(ListView, AHandlerMayDestroyTheListWhileItsClickIsUnderWay)
{
    Load(StartFormList(), {}, {{0, kDestroyList}, {4, kLog}});
    AddRows(3);
    QPointer<QWidget> view = &View();
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, View().visualRect(Model().index(1, 0)).center());
    EXPECT_EQ(List(), nullptr);
    // The click's release found no unit to tell.
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 0"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

TEST_F(ListView, SpaceTogglesTheCheckBoxOfTheFocusedRowAndRaisesCheckChanged)
{
    units::ListViewProperties p = StartFormList();
    p.CheckBoxes = 1;
    Load(p, {}, {{8, kLog}});
    AddRows(3);
    View().setCurrentIndex(Model().index(2, 0));
    QTest::keyClick(&View(), Qt::Key_Space);
    ASSERT_TRUE(WaitFor([&] { return Events().size() == 1; }));
    QTest::keyClick(&View(), Qt::Key_Space);
    ASSERT_TRUE(WaitFor([&] { return Events().size() == 2; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 8 2 1", "event 8 2 0"}));
    EXPECT_EQ(List()->CellNumber(units::CellField::CheckState, 2, 0), 0);
}

TEST_F(ListView, SpaceRaisesNothingWithoutCheckBoxes)
{
    Load(StartFormList(), {}, {{8, kLog}});
    AddRows(2);
    View().setCurrentIndex(Model().index(1, 0));
    QTest::keyClick(&View(), Qt::Key_Space);
    QTest::qWait(50);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(List()->CellNumber(units::CellField::CheckState, 1, 0), -1);
}

class LabelEditing : public ListView {
protected:
    void LoadEditable(std::uint32_t startingHandler, std::uint32_t endedHandler)
    {
        units::ListViewProperties p = StartFormList();
        p.EditLabels = 1;
        Load(p, {}, {{6, startingHandler}, {7, endedHandler}});
        AddRows(2);
        View().setCurrentIndex(Model().index(1, 0));
        ClearJournal();
    }
    QLineEdit* StartEditing()
    {
        QTest::keyClick(&View(), Qt::Key_F2);
        return View().findChild<QLineEdit*>();
    }
};

TEST_F(LabelEditing, AnAcceptedEditStoresTheNewTextWhichTheHandlerCanRead)
{
    LoadEditable(kLog, kLog);
    QLineEdit* editor = StartEditing();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromUtf8("新名字"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return Events().size() == 2; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 6 1", "event 7 1 [新名字]"}));
    EXPECT_EQ(Utf8(CellText(1, 0)), "新名字");
    EXPECT_EQ(List()->EditedText(), "");  // only while the event runs
}

TEST_F(LabelEditing, AHandlerAnsweringFalseRejectsTheText)
{
    LoadEditable(kLog, kLogAndRefuse);
    QLineEdit* editor = StartEditing();
    ASSERT_NE(editor, nullptr);
    editor->setText("refused");
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return Events().size() == 2; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 6 1", "event 7 1 [refused]"}));
    EXPECT_EQ(CellText(1, 0), "row 1");
}

TEST_F(LabelEditing, AnAbandonedEditEndsWithTheCellsText)
{
    LoadEditable(kLog, kLog);
    QLineEdit* editor = StartEditing();
    ASSERT_NE(editor, nullptr);
    editor->setText("typed");
    HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
    // The form closes on Esc, but not while the label editor has it.
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return Events().size() == 2; }));
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 6 1", "event 7 1 [row 1]"}));
    EXPECT_EQ(CellText(1, 0), "row 1");
    EXPECT_TRUE(IsWindow(form));
    EXPECT_FALSE(View().EditingLabel());

    // With the edit over, Esc on the list is the form's again.
    QTest::keyClick(&View(), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(form); }));
}

TEST_F(LabelEditing, AStartRefusedByItsHandlerOpensNoEditor)
{
    LoadEditable(kLogAndRefuse, kLog);
    EXPECT_EQ(StartEditing(), nullptr);
    EXPECT_EQ(Events(), (std::vector<std::string>{"event 6 1"}));
}

TEST_F(ListView, ARecordOfAnUnknownVersionMakesNoList)
{
    std::vector<std::uint8_t> bytes = units::SaveRecord(units::ListViewProperties{});
    bytes[0] = 2;
    forms::UnitType type = forms::OperationsOf(units::host::DataType(runtime::kListViewType));
    ASSERT_NE(type.create, nullptr);
    EXPECT_EQ(type.create(bytes.data(), static_cast<std::int32_t>(bytes.size()), 0, nullptr, 0, nullptr, 0, 0, 10,
                          10, kTestFormId, kListId, 0, 0),
              nullptr);
}

TEST_F(ListView, EnumeratesTheFontColumnTitlesAndRowTexts)
{
    units::ListViewProperties p = StartFormList();
    std::vector<std::uint8_t> font(60, 0);
    std::memcpy(font.data() + 28, "Sans", 4);
    p.Font = std::move(font);
    std::vector<units::ListViewRowRecord> rows = {{0, -1, -1, 0, 0, "a", "tip"}};
    p.InitialRows = units::WriteListViewRows(rows);
    std::vector<std::uint8_t> record = units::SaveRecord(p);
    forms::UnitType type = forms::OperationsOf(units::host::DataType(runtime::kListViewType));
    std::vector<std::string> texts;
    type.enumerateTexts(record.data(), static_cast<std::int32_t>(record.size()),
                        [](void* context, const char* text) {
                            static_cast<std::vector<std::string>*>(context)->push_back(text);
                        },
                        &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"Sans", Gbk("序号"), Gbk("图片下载地址"), Gbk("下载状态"), "a", "tip"}));
}

}  // namespace
