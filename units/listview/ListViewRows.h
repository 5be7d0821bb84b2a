#pragma once

// The report list's `InitialRows` block: row records back to back, no count.
// A record is a kind byte (0 starts a new row, any other value is the next
// cell of the current row), the image index, the state image index, the
// indent, the item data, the text and the tip text (both zero-terminated; the
// tip is used only for a row's first record).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct ListViewRowRecord {
    std::uint8_t Kind = 0;
    std::int32_t ImageIndex = -1;
    std::int32_t StateImageIndex = -1;
    std::int32_t Indent = 0;
    std::int32_t ItemData = 0;
    std::string Text;
    std::string TipText;

    bool operator==(const ListViewRowRecord&) const = default;
};

template <>
const RecordLayout<ListViewRowRecord>& LayoutOf<ListViewRowRecord>();

// Fails when the block ends inside a record.
std::optional<std::vector<ListViewRowRecord>> ParseListViewRows(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteListViewRows(std::span<const ListViewRowRecord> rows);

}  // namespace vellumry::units
