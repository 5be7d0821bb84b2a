#pragma once

// The structure of a GIF stream: the header and logical screen, the global
// colour table, and the frames with their graphic-control and looping
// extensions. Only the layout is read here; frame pixels are decoded by
// GifFrameDecoder.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "units/picture/DecodeResult.h"
#include "units/picture/private/BitmapStructs.h"

namespace vellumry::units {

#pragma pack(push, 1)
struct GifHeader {
    char signature[6];  // "GIF87a" or "GIF89a"
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t flags;  // bit 7: global table; bits 0-2: its size
    std::uint8_t backgroundIndex;
    std::uint8_t aspect;
};
static_assert(sizeof(GifHeader) == 13);

struct GifImageDescriptor {
    std::uint16_t left;
    std::uint16_t top;
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t flags;  // bit 7: local table; bit 6: interlaced; bits 0-2: table size
};
static_assert(sizeof(GifImageDescriptor) == 9);

struct GifGraphicControl {
    std::uint8_t flags;  // bits 2-4: disposal; bit 0: transparent index given
    std::uint16_t delay;  // hundredths of a second
    std::uint8_t transparentIndex;
};
static_assert(sizeof(GifGraphicControl) == 4);
#pragma pack(pop)

// Colours as blue-green-red-zero quads; entries beyond those stored stay
// black, so any index is harmless.
struct GifColourTable {
    std::array<RgbQuad, 256> colours{};
    std::uint16_t count = 0;
};

enum class GifDisposal : std::uint8_t { None = 0, Keep = 1, Background = 2, Previous = 3 };

struct GifFrame {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool interlaced = false;
    std::span<const std::uint8_t> localTable;  // raw 3-byte entries, empty for none
    std::optional<std::uint8_t> transparentIndex;
    GifDisposal disposal = GifDisposal::None;
    std::uint16_t delay = 0;
    std::uint8_t minimumCodeSize = 0;
    // The image data sub-blocks, up to and with their terminator (or to the
    // end of the data, when it ends inside them).
    std::span<const std::uint8_t> data;
};

// Reads a colour table of `count` raw entries.
GifColourTable ReadGifColourTable(std::span<const std::uint8_t> raw);

class GifStream {
public:
    // Checks the header and the global colour table: fewer than 14 bytes, a
    // wrong signature or a table that would reach the end of the data fail.
    static DecodeResult<GifStream> Open(std::span<const std::uint8_t> bytes);

    std::uint16_t Width() const { return m_header.width; }
    std::uint16_t Height() const { return m_header.height; }
    std::uint8_t BackgroundIndex() const { return m_header.backgroundIndex; }
    const GifColourTable& GlobalTable() const { return m_global; }

    enum class Next { Frame, End, Broken };
    // The next frame. End at the trailer, at the end of the data, or at a
    // byte that starts no block; Broken when a block runs past the end.
    Next NextFrame(GifFrame& frame);

    // From the looping extension seen so far: 0 forever, n repeats; none
    // when the stream has no such extension.
    std::optional<std::uint16_t> LoopCount() const { return m_loopCount; }

private:
    explicit GifStream(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool SkipSubBlocks();
    bool ReadExtension(std::optional<GifGraphicControl>& control);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    GifHeader m_header{};
    GifColourTable m_global;
    std::optional<std::uint16_t> m_loopCount;
};

}  // namespace vellumry::units
