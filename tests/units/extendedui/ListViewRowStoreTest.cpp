// The report list's rows as data: where rows go, which cells exist, and that
// rows and columns out of range leave the store as it is.

#include <gtest/gtest.h>

#include <string>

#include "units/listview/ListViewRowStore.h"

namespace {

using vellumry::units::ListViewRow;
using vellumry::units::ListViewRowStore;
using vellumry::units::RowOrder;

ListViewRow RowOf(std::string text)
{
    ListViewRow row;
    row.Cells.front().Text = std::move(text);
    return row;
}

std::string Texts(const ListViewRowStore& store)
{
    std::string all;
    for (std::int32_t i = 0; i < store.Count(); ++i)
        all += std::string(store.Text(i, 0).value_or("?")) + ",";
    return all;
}

TEST(ListViewRowStore, PositionsBeyondEitherEndAppend)
{
    ListViewRowStore store;
    EXPECT_EQ(store.Insert(-1, RowOf("a")), 0);
    EXPECT_EQ(store.Insert(-5, RowOf("b")), 1);
    EXPECT_EQ(store.Insert(99, RowOf("c")), 2);
    EXPECT_EQ(store.Insert(0, RowOf("d")), 0);
    EXPECT_EQ(store.Insert(2, RowOf("e")), 2);
    EXPECT_EQ(Texts(store), "d,a,e,b,c,");
}

TEST(ListViewRowStore, ASortedListPlacesRowsByTheirTextWhateverThePosition)
{
    ListViewRowStore ascending;
    ascending.SetOrder(RowOrder::Ascending);
    for (const char* text : {"pear", "Apple", "fig", "apple", "Zoo"})
        ascending.Insert(0, RowOf(text));
    // Letter case does not count; equal texts keep their order of arrival.
    EXPECT_EQ(Texts(ascending), "Apple,apple,fig,pear,Zoo,");

    ListViewRowStore descending;
    descending.SetOrder(RowOrder::Descending);
    EXPECT_EQ(descending.Insert(-1, RowOf("b")), 0);
    EXPECT_EQ(descending.Insert(-1, RowOf("c")), 0);
    EXPECT_EQ(descending.Insert(-1, RowOf("a")), 2);
    EXPECT_EQ(Texts(descending), "c,b,a,");
}

TEST(ListViewRowStore, CellsExistForRowsThereAndForColumnsOfTheList)
{
    ListViewRowStore store;
    store.SetColumnCount(3);
    store.Insert(-1, RowOf("x"));
    ASSERT_NE(store.Cell(0, 2), nullptr);
    store.Cell(0, 2)->Text = "third";
    EXPECT_EQ(store.Text(0, 2).value(), "third");
    EXPECT_EQ(store.Text(0, 1).value(), "");  // never written: empty, not missing
    for (auto [row, column] : {std::pair{0, 3}, {1, 0}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(store.Cell(row, column), nullptr) << row << "," << column;
        EXPECT_FALSE(store.Text(row, column).has_value()) << row << "," << column;
    }
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Row(0)->Cells.size(), 3u);  // the refused writes made no cells
}

TEST(ListViewRowStore, AListWithoutColumnsHasColumnZeroOnly)
{
    ListViewRowStore store;
    store.Insert(-1, RowOf("only"));
    EXPECT_NE(store.Cell(0, 0), nullptr);
    EXPECT_EQ(store.Cell(0, 1), nullptr);
}

TEST(ListViewRowStore, ClearingEmptiesTheList)
{
    ListViewRowStore store;
    for (int i = 0; i < 100; ++i)
        store.Insert(-1, RowOf(std::to_string(i)));
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_FALSE(store.Text(0, 0).has_value());
    EXPECT_EQ(store.Insert(5, RowOf("again")), 0);
}

}  // namespace
