#include "units/picture/private/PcxReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "units/picture/private/DiskStruct.h"
#include "units/picture/private/IndexedLayout.h"
#include "units/picture/private/PixelMemory.h"

namespace vellumry::units {
namespace {

#pragma pack(push, 1)
struct PcxHeader {
    std::uint8_t manufacturer;  // 0x0A
    std::uint8_t version;
    std::uint8_t encoding;  // 1: run-length
    std::uint8_t bitsPerPixel;
    std::uint16_t xMin;
    std::uint16_t yMin;
    std::uint16_t xMax;
    std::uint16_t yMax;
    std::uint16_t horizontalDpi;
    std::uint16_t verticalDpi;
    std::uint8_t headerPalette[48];
    std::uint8_t reserved;
    std::uint8_t planes;
    std::uint16_t bytesPerLine;
    std::uint16_t paletteInfo;
    std::uint16_t screenWidth;
    std::uint16_t screenHeight;
    std::uint8_t filler[54];
};
static_assert(sizeof(PcxHeader) == 128);
#pragma pack(pop)

constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr std::size_t kEndPaletteBytes = 1 + 256 * 3;

// Decodes the run-length stream into rows of `bytesPerLine`, calling
// `row(y, line)` for each; runs may cross from one row into the next, and
// stop at the last row.
template <typename RowSink>
void DecodeRuns(std::span<const std::uint8_t> data, std::uint32_t height, std::vector<std::uint8_t>& line,
                RowSink&& row)
{
    std::size_t filled = 0;
    std::uint32_t y = 0;
    auto put = [&](std::uint8_t value, std::size_t count) {
        while (count > 0 && y < height) {
            std::size_t n = std::min(count, line.size() - filled);
            std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(filled), n, value);
            filled += n;
            count -= n;
            if (filled == line.size()) {
                row(y++, line.data());
                filled = 0;
            }
        }
    };
    for (std::size_t at = 0; at < data.size() && y < height;) {
        std::uint8_t byte = data[at++];
        if ((byte & 0xC0) != 0xC0) {
            put(byte, 1);
            continue;
        }
        if (at >= data.size())
            break;
        put(data[at++], byte & 0x3F);
    }
}

}  // namespace

PictureKind SniffPcx(std::span<const std::uint8_t> b)
{
    if (b.size() < 4 || b[0] != 0x0A || b[2] != 1)
        return PictureKind::None;
    if (b[1] <= 5 && b[3] == 8)
        return PictureKind::Pcx8;
    if (b[1] == 3 && b[3] == 1)
        return PictureKind::Pcx1;
    return PictureKind::None;
}

DecodeResult<DecodedPicture> DecodePcx(std::span<const std::uint8_t> bytes)
{
    PictureKind kind = SniffPcx(bytes);
    auto header = ReadDiskStruct<PcxHeader>(bytes, 0);
    if (kind == PictureKind::None || !header)
        return Refuse("not a PCX file");
    if (header->xMax < header->xMin || header->yMax < header->yMin)
        return Refuse("picture size empty or too large");
    const std::uint32_t width = std::uint32_t{header->xMax} - header->xMin + 1;
    const std::uint32_t height = std::uint32_t{header->yMax} - header->yMin + 1;
    if (!SidesAllowed(width, height))
        return Refuse("picture size empty or too large");
    if (header->planes != 1)
        return Refuse("PCX with more than one plane");
    const bool mono = kind == PictureKind::Pcx1;
    const std::uint32_t rowBytes = mono ? (width + 7) / 8 : width;
    if (header->bytesPerLine < rowBytes)
        return Refuse("PCX line shorter than the picture");

    std::span<const std::uint8_t> data = bytes.subspan(sizeof(PcxHeader));
    PictureBudget budget;
    if (!budget.Reserve(header->bytesPerLine))
        return Refuse("picture needs too much memory");
    std::vector<std::uint8_t> line(header->bytesPerLine);

    if (mono) {
        const std::uint64_t stride = PaddedRowBytes(width, 1, 2);
        if (!budget.ReserveRows(height, stride))
            return Refuse("picture needs too much memory");
        DecodedPicture picture;
        picture.kind = kind;
        picture.width = width;
        picture.height = height;
        SizePixels(picture.pixels, static_cast<std::size_t>(stride * height));
        DecodeRuns(data, height, line, [&](std::uint32_t y, const std::uint8_t* source) {
            std::memcpy(picture.pixels.data() + y * stride, source, rowBytes);
        });
        return picture;
    }

    std::array<RgbQuad, 256> colours{};
    bool hasTable = header->version == 5 && data.size() >= kEndPaletteBytes &&
                    data[data.size() - kEndPaletteBytes] == kPaletteMarker;
    if (hasTable) {
        const std::uint8_t* table = data.data() + data.size() - kEndPaletteBytes + 1;
        for (std::size_t i = 0; i < 256; ++i)
            colours[i] = {table[3 * i + 2], table[3 * i + 1], table[3 * i], 0};
        data = data.first(data.size() - kEndPaletteBytes);
    } else {
        for (std::size_t i = 0; i < 256; ++i) {
            auto grey = static_cast<std::uint8_t>(i);
            colours[i] = {grey, grey, grey, 0};
        }
    }
    auto picture = MakeIndexedPicture(kind, width, height, colours, 0, budget);
    if (!picture)
        return picture;
    DecodeRuns(data, height, line, [&](std::uint32_t y, const std::uint8_t* source) {
        std::memcpy(IndexedRow(*picture, y), source, width);
    });
    return picture;
}

}  // namespace vellumry::units
