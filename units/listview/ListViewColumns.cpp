#include "units/listview/ListViewColumns.h"

namespace vellumry::units {

std::optional<std::vector<ListViewColumn>> ParseListViewColumns(std::span<const std::uint8_t> block)
{
    std::vector<ListViewColumn> columns;
    runtime::ByteReader reader(block);
    while (!reader.AtEnd()) {
        ListViewColumn column;
        std::string_view title;
        if (!reader.ReadU8(column.ImageOnRight) || !reader.ReadI32(column.ImageIndex) ||
            !reader.ReadI32(column.Alignment) || !reader.ReadI32(column.Width) || !reader.ReadZeroTerminated(title))
            return std::nullopt;
        column.Title = title;
        columns.push_back(std::move(column));
    }
    return columns;
}

Bytes WriteListViewColumns(std::span<const ListViewColumn> columns)
{
    runtime::ByteWriter writer;
    for (const ListViewColumn& column : columns) {
        writer.PutU8(column.ImageOnRight);
        writer.PutI32(column.ImageIndex);
        writer.PutI32(column.Alignment);
        writer.PutI32(column.Width);
        writer.PutZeroTerminated(column.Title);
    }
    return writer.Take();
}

}  // namespace vellumry::units
