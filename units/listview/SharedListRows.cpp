#include "units/listview/SharedListRows.h"

#include <algorithm>
#include <utility>

namespace vellumry::units {
namespace {

constexpr std::int32_t kStateImageShift = 12;
constexpr std::int32_t kStateImageMask = 0xF000;
constexpr std::int32_t kUncheckedBits = 1 << kStateImageShift;

}  // namespace

void ViewChanges::Changed(std::int32_t row)
{
    firstChanged = firstChanged > lastChanged ? row : std::min(firstChanged, row);
    lastChanged = std::max(lastChanged, row);
}

std::int32_t SharedListRows::Count()
{
    std::lock_guard guard(m_lock);
    return m_rows.Count();
}

void SharedListRows::SetCheckBoxes(bool on)
{
    std::lock_guard guard(m_lock);
    m_checkBoxes = on;
}

std::int32_t SharedListRows::InsertRow(const NewRow& request)
{
    ListViewRow row;
    row.Cells.front().Text = request.text;
    row.Cells.front().ImageIndex = std::max(request.image.value_or(-1), -1);
    row.Indent = std::max(request.indent.value_or(0), 0);
    row.ItemData = request.itemData.value_or(0);
    std::lock_guard guard(m_lock);
    // The state image goes with a zero state mask, which sets no state bits;
    // a list with check boxes starts every row unchecked.
    row.StateBits = m_checkBoxes ? kUncheckedBits : 0;
    const std::int32_t before = m_rows.Count();
    std::int32_t position = request.position.value_or(-1);
    std::int32_t index = m_rows.Insert(position < 0 ? before : position, std::move(row));
    if (index < before)
        m_changes.restart = true;
    return index;
}

bool SharedListRows::SetCell(CellField field, std::int32_t row, std::int32_t column, std::int32_t number,
                             std::string_view text)
{
    std::lock_guard guard(m_lock);
    ListViewCell* cell = m_rows.Cell(row, column);
    if (!cell)
        return false;
    ListViewRow& stored = *m_rows.Row(row);
    switch (field) {
    case CellField::Text: cell->Text = text; break;
    case CellField::Image: cell->ImageIndex = std::max(number, -1); break;
    case CellField::CheckState:
        stored.StateBits = (std::max(number + 1, 0) << kStateImageShift) & kStateImageMask;
        break;
    case CellField::Indent: stored.Indent = std::max(number, 0); break;
    case CellField::ItemData: stored.ItemData = number; break;
    }
    m_changes.Changed(row);
    return true;
}

std::optional<std::string> SharedListRows::CellText(std::int32_t row, std::int32_t column)
{
    std::lock_guard guard(m_lock);
    auto text = m_rows.Text(row, column);
    if (!text)
        return std::nullopt;
    return std::string(*text);
}

std::optional<std::int32_t> SharedListRows::CellNumber(CellField field, std::int32_t row, std::int32_t column)
{
    std::lock_guard guard(m_lock);
    if (!m_rows.HasCell(row, column))
        return std::nullopt;
    const ListViewRow& stored = *m_rows.Row(row);
    switch (field) {
    case CellField::Image: return m_rows.CellImage(row, column);
    case CellField::CheckState: return ((stored.StateBits & kStateImageMask) >> kStateImageShift) - 1;
    case CellField::Indent: return stored.Indent;
    case CellField::ItemData: return stored.ItemData;
    case CellField::Text: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::int32_t> SharedListRows::StateImage(std::int32_t row)
{
    std::lock_guard guard(m_lock);
    const ListViewRow* stored = m_rows.Row(row);
    if (!stored)
        return std::nullopt;
    return ((stored->StateBits & kStateImageMask) >> kStateImageShift) - 1;
}

void SharedListRows::Clear()
{
    std::lock_guard guard(m_lock);
    m_rows.Clear();
    m_changes = ViewChanges{};
    m_changes.restart = true;
}

bool SharedListRows::RequestVisible(std::int32_t row)
{
    std::lock_guard guard(m_lock);
    if (row < 0 || row >= m_rows.Count())
        return false;
    m_changes.makeVisible = row;
    return true;
}

ViewChanges SharedListRows::TakeViewChanges()
{
    std::lock_guard guard(m_lock);
    m_announced = false;
    return std::exchange(m_changes, ViewChanges{});
}

bool SharedListRows::Announce()
{
    std::lock_guard guard(m_lock);
    return !std::exchange(m_announced, true);
}

}  // namespace vellumry::units
