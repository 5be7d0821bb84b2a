#pragma once

// Picture files written by the tests themselves: JPEG through libjpeg (best
// quality, no chroma subsampling), PNG through libpng, and BMP, ICO/CUR, GIF
// and PCX byte by byte, so that every field can be set, or broken, at will.
// Qt-free.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellumry::test {

using Bytes = std::vector<std::uint8_t>;

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// Row-major pixels, top row first.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Red, green and blue bars over a grey ramp: no two neighbouring rows or
// columns alike, so a flip or a swap of channels shows.
RgbPicture TestPattern(int width, int height);

// Without `subsampled`, every channel at full resolution (4:4:4); with it,
// the chroma halved both ways (4:2:0), as cameras write.
Bytes JpegFileBytes(const RgbPicture& picture, int quality = 100, bool progressive = false, bool subsampled = false);

// libjpeg's own decode to RGB, the reference the picture decoder must match;
// nothing for bytes libjpeg refuses.
std::optional<RgbPicture> JpegReferenceDecode(std::span<const std::uint8_t> bytes);

// The same decode into packed RGB rows, top-down, handing libjpeg every row
// at once as TurboJPEG does: the baseline for benchmarks. False for bytes
// libjpeg refuses.
bool JpegDecodeToRgb(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgb);

// Top-down rows of 0xAARRGGBB.
Bytes PngFileBytes(int width, int height, const std::vector<std::uint32_t>& argb);

// Little-endian writing.
void Put16(Bytes& out, std::uint32_t value);
void Put32(Bytes& out, std::uint32_t value);

// A BMP file: file header, a BITMAPINFOHEADER (or the 12-byte core header),
// optional masks, a colour table and the pixel bytes exactly as given.
struct BmpDraft {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<Rgb> palette;
    std::uint32_t coloursUsed = 0;  // 0: the palette's size (1 to 8 bits)
    std::vector<std::uint32_t> masks;  // written after the header (bit fields)
    bool coreHeader = false;
    std::optional<std::uint32_t> pixelOffset;  // default: right after the table
    Bytes pixels;
};
Bytes BmpFileBytes(const BmpDraft& draft);

// Rows of `bitCount`-bit values padded to 32 bits, stored bottom row first
// (as a DIB stores them) from top-down values.
Bytes DibRows(const std::vector<std::vector<std::uint32_t>>& topDownRows, std::uint16_t bitCount);

// An icon image: BITMAPINFOHEADER with twice the height, colour table,
// colour rows, AND mask rows (1 = transparent).
Bytes IconDib(int width, int height, std::uint16_t bitCount, const std::vector<Rgb>& palette,
              const std::vector<std::vector<std::uint32_t>>& colourRows,
              const std::vector<std::vector<std::uint32_t>>& maskRows);

struct IconEntryDraft {
    std::uint8_t width = 32;
    std::uint8_t height = 32;
    std::uint8_t colourCount = 16;
    Bytes image;
    std::optional<std::uint32_t> offset;  // default: images back to back
    std::optional<std::uint32_t> size;    // default: the image's size
};
// type 1: icon, 2: cursor.
Bytes IconFileBytes(std::uint16_t type, const std::vector<IconEntryDraft>& entries);

// GIF streams with real LZW compression.
struct GifFrameDraft {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indexes;  // top-down rows, width × height
    std::vector<Rgb> localTable;        // empty: use the global one
    std::optional<std::uint8_t> transparent;
    int disposal = 0;
    int delay = 0;  // hundredths of a second
    bool interlaced = false;
    int minimumCodeSize = 0;  // 0: from the table size
    bool graphicControl = true;
    bool clearWhenFull = true;
    std::optional<Bytes> data;  // the image data sub-blocks, instead of encoding `indexes`
};
struct GifDraft {
    int width = 0;
    int height = 0;
    std::vector<Rgb> globalTable;  // 2, 4, ..., 256 entries, or empty
    std::uint8_t background = 0;
    std::optional<int> loopCount;
    std::vector<GifFrameDraft> frames;
    bool trailer = true;
};
Bytes GifFileBytes(const GifDraft& draft);

// LZW codes in GIF's bit order, wrapped in sub-blocks with a terminator. With
// `clearWhenFull` off a full table is kept (the decoder must then go on with
// 12-bit codes and no new entries).
Bytes GifLzwData(std::span<const std::uint8_t> indexes, int minimumCodeSize, bool clearWhenFull = true);

// A PCX file of one plane, run-length encoded from unencoded scan lines of
// `bytesPerLine` bytes each; for 8 bits, a 256-colour table at the end when
// `palette` has entries.
struct PcxDraft {
    std::uint8_t version = 5;
    std::uint8_t bitsPerPixel = 8;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    std::vector<std::uint8_t> lines;  // height × bytesPerLine
    std::vector<Rgb> palette;
};
Bytes PcxFileBytes(const PcxDraft& draft);
Bytes PcxRunLengths(std::span<const std::uint8_t> bytes);

// A deterministic pseudo-random byte sequence.
std::vector<std::uint8_t> NoiseBytes(std::size_t count, std::uint32_t seed, std::uint8_t modulo = 0);

}  // namespace vellumry::test
