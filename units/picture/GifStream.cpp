#include "units/picture/private/GifStream.h"

#include <cstring>

#include "units/picture/private/DiskStruct.h"

namespace vellumry::units {
namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kTableFlag = 0x80;
constexpr std::uint8_t kInterlacedFlag = 0x40;

std::uint64_t TableBytes(std::uint8_t flags)
{
    return (flags & kTableFlag) ? 3ull << ((flags & 7) + 1) : 0;
}

}  // namespace

GifColourTable ReadGifColourTable(std::span<const std::uint8_t> raw)
{
    GifColourTable table;
    table.count = static_cast<std::uint16_t>(std::min<std::size_t>(raw.size() / 3, 256));
    for (std::uint16_t i = 0; i < table.count; ++i)
        table.colours[i] = {raw[3 * i + 2], raw[3 * i + 1], raw[3 * i], 0};
    return table;
}

DecodeResult<GifStream> GifStream::Open(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 14)
        return Refuse("GIF shorter than its header");
    GifStream stream(bytes);
    stream.m_header = *ReadDiskStruct<GifHeader>(bytes, 0);
    if (std::memcmp(stream.m_header.signature, "GIF87a", 6) != 0 &&
        std::memcmp(stream.m_header.signature, "GIF89a", 6) != 0)
        return Refuse("not a GIF file");
    stream.m_at = sizeof(GifHeader);
    std::uint64_t tableBytes = TableBytes(stream.m_header.flags);
    if (tableBytes > 0) {
        // A table that reaches the end leaves no room for any frame.
        if (tableBytes >= bytes.size() - stream.m_at)
            return Refuse("GIF colour table runs past the end");
        stream.m_global = ReadGifColourTable(bytes.subspan(stream.m_at, static_cast<std::size_t>(tableBytes)));
        stream.m_at += static_cast<std::size_t>(tableBytes);
    }
    return stream;
}

// Moves past a chain of sub-blocks and its terminator.
bool GifStream::SkipSubBlocks()
{
    while (m_at < m_bytes.size()) {
        std::uint8_t length = m_bytes[m_at++];
        if (length == 0)
            return true;
        if (length > m_bytes.size() - m_at)
            return false;
        m_at += length;
    }
    return false;
}

bool GifStream::ReadExtension(std::optional<GifGraphicControl>& control)
{
    if (m_at >= m_bytes.size())
        return false;
    std::uint8_t label = m_bytes[m_at++];
    std::size_t first = m_at;
    if (label == kGraphicControlLabel && m_at < m_bytes.size() && m_bytes[m_at] == sizeof(GifGraphicControl))
        control = ReadDiskStruct<GifGraphicControl>(m_bytes, m_at + 1);
    if (label == kApplicationLabel && m_at < m_bytes.size() && m_bytes[m_at] == 11) {
        auto name = ByteRange(m_bytes, m_at + 1, 11);
        auto loop = ByteRange(m_bytes, m_at + 12, 4);
        bool looping = name && (std::memcmp(name->data(), "NETSCAPE2.0", 11) == 0 ||
                                std::memcmp(name->data(), "ANIMEXTS1.0", 11) == 0);
        if (looping && loop && (*loop)[0] == 3 && (*loop)[1] == 1)
            m_loopCount = static_cast<std::uint16_t>((*loop)[2] | ((*loop)[3] << 8));
    }
    m_at = first;
    return SkipSubBlocks();
}

GifStream::Next GifStream::NextFrame(GifFrame& frame)
{
    std::optional<GifGraphicControl> control;
    while (m_at < m_bytes.size()) {
        std::uint8_t introducer = m_bytes[m_at++];
        if (introducer == kTrailer)
            return Next::End;
        if (introducer == kExtension) {
            if (!ReadExtension(control))
                return Next::Broken;
            continue;
        }
        if (introducer != kImage)
            return Next::End;

        auto descriptor = ReadDiskStruct<GifImageDescriptor>(m_bytes, m_at);
        if (!descriptor)
            return Next::Broken;
        m_at += sizeof(GifImageDescriptor);
        frame = GifFrame{};
        frame.left = descriptor->left;
        frame.top = descriptor->top;
        frame.width = descriptor->width;
        frame.height = descriptor->height;
        frame.interlaced = (descriptor->flags & kInterlacedFlag) != 0;
        auto table = ByteRange(m_bytes, m_at, TableBytes(descriptor->flags));
        if (!table)
            return Next::Broken;
        frame.localTable = *table;
        m_at += table->size();
        if (control) {
            // Methods 4 to 7 are undefined and treated as no disposal.
            unsigned disposal = (control->flags >> 2) & 7;
            frame.disposal = disposal <= 3 ? static_cast<GifDisposal>(disposal) : GifDisposal::None;
            frame.delay = control->delay;
            if (control->flags & 1)
                frame.transparentIndex = control->transparentIndex;
        }
        if (m_at >= m_bytes.size())
            return Next::Broken;
        frame.minimumCodeSize = m_bytes[m_at++];
        std::size_t start = m_at;
        // Data that ends inside the sub-blocks still gives the rows it holds,
        // and nothing follows it.
        if (!SkipSubBlocks())
            m_at = m_bytes.size();
        frame.data = m_bytes.subspan(start, m_at - start);
        return Next::Frame;
    }
    return Next::End;
}

}  // namespace vellumry::units
