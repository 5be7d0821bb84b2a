#include "units/listview/ListViewRowStore.h"

#include <algorithm>

namespace vellumry::units {
namespace {

// Item texts compare without regard to the case of ASCII letters; other
// bytes (GBK included) by value.
int CompareTexts(std::string_view a, std::string_view b)
{
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int difference = fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i]));
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

std::int32_t ListViewRowStore::SortedPosition(std::string_view text) const
{
    // After the rows that sort equal, so equal texts keep their order.
    auto comesAfter = [&](const ListViewRow& row) {
        int order = CompareTexts(row.Cells.front().Text, text);
        return m_order == RowOrder::Ascending ? order <= 0 : order >= 0;
    };
    auto at = std::partition_point(m_rows.begin(), m_rows.end(), comesAfter);
    return static_cast<std::int32_t>(at - m_rows.begin());
}

std::int32_t ListViewRowStore::Insert(std::int32_t position, ListViewRow row)
{
    if (row.Cells.empty())
        row.Cells.emplace_back();
    if (m_order != RowOrder::None)
        position = SortedPosition(row.Cells.front().Text);
    else if (position < 0 || position > Count())
        position = Count();
    m_rows.insert(m_rows.begin() + position, std::move(row));
    return position;
}

void ListViewRowStore::Clear()
{
    // Swapped out, so that a list emptied after a long run gives its memory
    // back.
    std::vector<ListViewRow>().swap(m_rows);
}

bool ListViewRowStore::HasCell(std::int32_t row, std::int32_t column) const
{
    return row >= 0 && row < Count() && column >= 0 && (column == 0 || column < m_columnCount);
}

const ListViewRow* ListViewRowStore::Row(std::int32_t row) const
{
    return row >= 0 && row < Count() ? &m_rows[static_cast<std::size_t>(row)] : nullptr;
}

ListViewRow* ListViewRowStore::Row(std::int32_t row)
{
    return row >= 0 && row < Count() ? &m_rows[static_cast<std::size_t>(row)] : nullptr;
}

ListViewCell* ListViewRowStore::Cell(std::int32_t row, std::int32_t column)
{
    if (!HasCell(row, column))
        return nullptr;
    auto& cells = m_rows[static_cast<std::size_t>(row)].Cells;
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(static_cast<std::size_t>(column) + 1);
    return &cells[static_cast<std::size_t>(column)];
}

std::optional<std::string_view> ListViewRowStore::Text(std::int32_t row, std::int32_t column) const
{
    if (!HasCell(row, column))
        return std::nullopt;
    const auto& cells = m_rows[static_cast<std::size_t>(row)].Cells;
    if (static_cast<std::size_t>(column) >= cells.size())
        return std::string_view();
    return std::string_view(cells[static_cast<std::size_t>(column)].Text);
}

std::int32_t ListViewRowStore::CellImage(std::int32_t row, std::int32_t column) const
{
    if (!HasCell(row, column))
        return -1;
    const auto& cells = m_rows[static_cast<std::size_t>(row)].Cells;
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)].ImageIndex : -1;
}

}  // namespace vellumry::units
