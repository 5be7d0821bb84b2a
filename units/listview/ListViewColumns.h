#pragma once

// The report list's `Columns` block: column records back to back, no count.
// A record is a flag byte (image on the right), the image index (-1: none),
// the alignment (0 left, 1 centre, 2 right), the width in pixels and the
// zero-terminated title: 13 bytes plus the title and its zero byte.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct ListViewColumn {
    std::uint8_t ImageOnRight = 0;
    std::int32_t ImageIndex = -1;
    std::int32_t Alignment = 0;
    std::int32_t Width = 0;
    std::string Title;

    bool operator==(const ListViewColumn&) const = default;
};

template <>
const RecordLayout<ListViewColumn>& LayoutOf<ListViewColumn>();

// Fails when the block ends inside a record.
std::optional<std::vector<ListViewColumn>> ParseListViewColumns(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteListViewColumns(std::span<const ListViewColumn> columns);

}  // namespace vellumry::units
