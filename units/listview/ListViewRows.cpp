#include "units/listview/ListViewRows.h"

namespace vellumry::units {

std::optional<std::vector<ListViewRowRecord>> ParseListViewRows(std::span<const std::uint8_t> block)
{
    std::vector<ListViewRowRecord> rows;
    runtime::ByteReader reader(block);
    while (!reader.AtEnd()) {
        ListViewRowRecord row;
        std::string_view text, tip;
        if (!reader.ReadU8(row.Kind) || !reader.ReadI32(row.ImageIndex) || !reader.ReadI32(row.StateImageIndex) ||
            !reader.ReadI32(row.Indent) || !reader.ReadI32(row.ItemData) || !reader.ReadZeroTerminated(text) ||
            !reader.ReadZeroTerminated(tip))
            return std::nullopt;
        row.Text = text;
        row.TipText = tip;
        rows.push_back(std::move(row));
    }
    return rows;
}

Bytes WriteListViewRows(std::span<const ListViewRowRecord> rows)
{
    runtime::ByteWriter writer;
    for (const ListViewRowRecord& row : rows) {
        writer.PutU8(row.Kind);
        writer.PutI32(row.ImageIndex);
        writer.PutI32(row.StateImageIndex);
        writer.PutI32(row.Indent);
        writer.PutI32(row.ItemData);
        writer.PutZeroTerminated(row.Text);
        writer.PutZeroTerminated(row.TipText);
    }
    return writer.Take();
}

}  // namespace vellumry::units
