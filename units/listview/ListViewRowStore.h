#pragma once

// The rows of a report list as data: every row a handful of cell texts and
// numbers, no widget per row, so that a list of 100,000 rows costs memory in
// proportion to its texts. The store answers for rows and columns that do not
// exist by refusing (false, nullopt) and leaving everything as it was.
//
// A row's cells beyond the ones written are empty; cell 0 always exists. A
// column exists when it is 0 or below the column count (a list without
// columns has column 0 only). With a sort order the text of cell 0 decides
// where a new row goes, as in a list sorted by its item texts.
//
// Qt-free. Not locked itself: a report list shares it under a lock
// (SharedListRows.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumry::units {

struct ListViewCell {
    std::string Text;
    std::int32_t ImageIndex = -1;
};

struct ListViewRow {
    std::vector<ListViewCell> Cells = std::vector<ListViewCell>(1);
    // The state image bits: (state image index + 1) << 12; 0 is none.
    std::int32_t StateBits = 0;
    std::int32_t Indent = 0;
    std::int32_t ItemData = 0;
    // The info tip of a stored row; rows added later have none.
    std::string TipText;
};

// 0 none, 1 ascending, 2 descending (the report list's SortOrder).
enum class RowOrder : std::int32_t { None = 0, Ascending = 1, Descending = 2 };

class ListViewRowStore {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(m_rows.size()); }
    void SetColumnCount(std::int32_t columns) { m_columnCount = columns; }
    std::int32_t ColumnCount() const { return m_columnCount; }
    void SetOrder(RowOrder order) { m_order = order; }

    // Inserts the row at `position` (a negative or too large one appends;
    // a sorted list decides for itself) and answers where it went.
    std::int32_t Insert(std::int32_t position, ListViewRow row);
    void Clear();

    bool HasCell(std::int32_t row, std::int32_t column) const;
    const ListViewRow* Row(std::int32_t row) const;
    ListViewRow* Row(std::int32_t row);
    // The cell, made when it was not written yet; null when out of range.
    ListViewCell* Cell(std::int32_t row, std::int32_t column);
    // The text of a cell; nullopt when out of range.
    std::optional<std::string_view> Text(std::int32_t row, std::int32_t column) const;
    std::int32_t CellImage(std::int32_t row, std::int32_t column) const;

private:
    std::int32_t SortedPosition(std::string_view text) const;

    std::vector<ListViewRow> m_rows;
    std::int32_t m_columnCount = 0;
    RowOrder m_order = RowOrder::None;
};

}  // namespace vellumry::units
