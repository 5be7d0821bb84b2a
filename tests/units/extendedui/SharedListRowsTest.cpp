// The report list's shared rows: what each operation records for the view
// to catch up with, and the notices a worker sends for it.

#include <gtest/gtest.h>

#include <string>

#include "units/listview/SharedListRows.h"

namespace {

using vellumry::units::CellField;
using vellumry::units::NewRow;
using vellumry::units::RowOrder;
using vellumry::units::SharedListRows;
using vellumry::units::ViewChanges;

NewRow Row(std::string text, std::optional<std::int32_t> position = std::nullopt)
{
    NewRow row;
    row.text = std::move(text);
    row.position = position;
    return row;
}

// A list of `count` rows with three columns; the view has caught up.
void Fill(SharedListRows& rows, int count)
{
    rows.Lock().Rows().SetColumnCount(3);
    for (int i = 0; i < count; ++i)
        rows.InsertRow(Row("r" + std::to_string(i)));
    rows.TakeViewChanges();
}

TEST(SharedListRows, OnlyRowsPlacedBeforeTheEndMakeTheViewStartAfresh)
{
    SharedListRows rows;
    Fill(rows, 2);
    EXPECT_EQ(rows.InsertRow(Row("end")), 2);
    EXPECT_EQ(rows.InsertRow(Row("far", 99)), 3);
    EXPECT_FALSE(rows.TakeViewChanges().restart) << "appended rows are published as they come";

    EXPECT_EQ(rows.InsertRow(Row("front", 0)), 0);
    EXPECT_TRUE(rows.TakeViewChanges().restart);

    SharedListRows sorted;
    sorted.Lock().Rows().SetOrder(RowOrder::Ascending);
    sorted.InsertRow(Row("b"));
    sorted.TakeViewChanges();
    EXPECT_EQ(sorted.InsertRow(Row("a")), 0);
    EXPECT_TRUE(sorted.TakeViewChanges().restart) << "a sorted list placed the row first";
}

TEST(SharedListRows, CellChangesGatherAsOneRangeAndRefusedOnesRecordNothing)
{
    SharedListRows rows;
    Fill(rows, 10);
    EXPECT_TRUE(rows.SetCell(CellField::Text, 6, 2, 0, "x"));
    EXPECT_TRUE(rows.SetCell(CellField::Indent, 3, 0, 4, {}));
    EXPECT_TRUE(rows.SetCell(CellField::Text, 5, 1, 0, "y"));
    EXPECT_FALSE(rows.SetCell(CellField::Text, 10, 0, 0, "past the last row"));
    EXPECT_FALSE(rows.SetCell(CellField::Text, 9, 3, 0, "past the last column"));
    EXPECT_FALSE(rows.RequestVisible(10));
    EXPECT_FALSE(rows.RequestVisible(-1));
    ViewChanges changes = rows.TakeViewChanges();
    EXPECT_EQ(changes.firstChanged, 3);
    EXPECT_EQ(changes.lastChanged, 6);
    EXPECT_EQ(changes.makeVisible, -1);
    EXPECT_FALSE(changes.restart);

    EXPECT_EQ(rows.CellText(6, 2), "x");
    EXPECT_EQ(rows.CellNumber(CellField::Indent, 3, 0), 4);
    EXPECT_EQ(rows.CellText(9, 3), std::nullopt);

    EXPECT_TRUE(rows.RequestVisible(4));
    EXPECT_TRUE(rows.RequestVisible(7));
    changes = rows.TakeViewChanges();
    EXPECT_EQ(changes.makeVisible, 7) << "the last row asked for";
    EXPECT_GT(changes.firstChanged, changes.lastChanged) << "taken changes are gone";
}

TEST(SharedListRows, EmptyingDropsTheRecordedChangesAndRestartsTheView)
{
    SharedListRows rows;
    Fill(rows, 4);
    rows.SetCell(CellField::Text, 2, 1, 0, "x");
    rows.RequestVisible(3);
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
    ViewChanges changes = rows.TakeViewChanges();
    EXPECT_TRUE(changes.restart);
    EXPECT_GT(changes.firstChanged, changes.lastChanged);
    EXPECT_EQ(changes.makeVisible, -1) << "a row of the emptied list";
}

TEST(SharedListRows, ANoticeIsAnnouncedOncePerBatch)
{
    SharedListRows rows;
    EXPECT_TRUE(rows.Announce());
    EXPECT_FALSE(rows.Announce());
    EXPECT_FALSE(rows.Announce());
    rows.TakeViewChanges();
    EXPECT_TRUE(rows.Announce()) << "the view caught up: the next change needs a notice again";
}

TEST(SharedListRows, NewRowsOfAListWithCheckBoxesStartUnchecked)
{
    SharedListRows rows;
    rows.InsertRow(Row("plain"));
    rows.SetCheckBoxes(true);
    rows.InsertRow(Row("checkable"));
    EXPECT_EQ(rows.StateImage(0), -1);
    EXPECT_EQ(rows.StateImage(1), 0) << "state image 0, the unchecked box";
    EXPECT_EQ(rows.StateImage(2), std::nullopt);
}

}  // namespace
