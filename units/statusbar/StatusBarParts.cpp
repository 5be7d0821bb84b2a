#include "units/statusbar/StatusBarParts.h"

namespace vellumry::units {
namespace {

// Three words and two zero bytes: the least a part can take.
constexpr std::size_t kSmallestPart = 14;

}  // namespace

std::optional<std::vector<StatusBarPart>> ParseStatusBarParts(std::span<const std::uint8_t> block)
{
    std::vector<StatusBarPart> parts;
    if (block.empty())
        return parts;
    runtime::ByteReader reader(block);
    std::int32_t count = 0;
    if (!reader.ReadI32(count) || count < 0 || static_cast<std::size_t>(count) > reader.Remaining() / kSmallestPart)
        return std::nullopt;
    parts.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        StatusBarPart part;
        std::string_view text, tip;
        if (!reader.ReadI32(part.Width) || !reader.ReadI32(part.Style) || !reader.ReadI32(part.ImageIndex) ||
            !reader.ReadZeroTerminated(text) || !reader.ReadZeroTerminated(tip))
            return std::nullopt;
        part.Text = text;
        part.TipText = tip;
        parts.push_back(std::move(part));
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return parts;
}

Bytes WriteStatusBarParts(std::span<const StatusBarPart> parts)
{
    runtime::ByteWriter writer;
    writer.PutI32(static_cast<std::int32_t>(parts.size()));
    for (const StatusBarPart& part : parts) {
        writer.PutI32(part.Width);
        writer.PutI32(part.Style);
        writer.PutI32(part.ImageIndex);
        writer.PutZeroTerminated(part.Text);
        writer.PutZeroTerminated(part.TipText);
    }
    return writer.Take();
}

}  // namespace vellumry::units
