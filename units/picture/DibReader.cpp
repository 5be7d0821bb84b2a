#include "units/picture/private/DibReader.h"

#include <bit>
#include <cstring>
#include <vector>

#include "units/picture/private/DiskStruct.h"

namespace vellumry::units {
namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHeaderWithRgbMasks = 52;
constexpr std::uint32_t kHeaderWithAlphaMask = 56;

bool IsKnownDepth(std::uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool CompressionFits(std::uint32_t compression, std::uint16_t bits)
{
    switch (compression) {
    case kBiRgb: return true;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitfields:
    case kBiAlphaBitfields: return bits == 16 || bits == 32;
    default: return false;
    }
}

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_bits(mask ? std::bit_width(mask >> m_shift) : 0)
    {
    }

    bool Present() const { return m_mask != 0; }

    std::uint8_t Of(std::uint32_t pixel) const
    {
        if (m_bits == 0)
            return 0;
        std::uint32_t value = (pixel & m_mask) >> m_shift;
        if (m_bits >= 8)
            return static_cast<std::uint8_t>(value >> (m_bits - 8));
        std::uint32_t top = (1u << m_bits) - 1;
        return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
    }

private:
    std::uint32_t m_mask;
    int m_shift;
    int m_bits;
};

std::uint32_t PaletteSize(std::uint16_t bits)
{
    return bits <= 8 ? 1u << bits : 0;
}

void PutPaletteColour(const DibHeader& header, std::uint8_t index, std::uint8_t* out)
{
    const RgbQuad& colour = header.palette[index];
    out[0] = colour.blue;
    out[1] = colour.green;
    out[2] = colour.red;
    out[3] = 255;
}

// One stored row of an uncompressed DIB into blue-green-red-alpha quads.
void ConvertRow(const DibHeader& header, const std::uint8_t* row, std::uint8_t* out)
{
    std::uint32_t width = header.width;
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8: {
        unsigned bits = header.bitCount;
        unsigned perByte = 8 / bits;
        unsigned valueMask = (1u << bits) - 1;
        for (std::uint32_t x = 0; x < width; ++x) {
            unsigned shift = 8 - bits * (x % perByte + 1);
            auto index = static_cast<std::uint8_t>((row[x / perByte] >> shift) & valueMask);
            PutPaletteColour(header, index, out + 4 * x);
        }
        break;
    }
    case 24:
        for (std::uint32_t x = 0; x < width; ++x) {
            std::memcpy(out + 4 * x, row + 3 * x, 3);
            out[4 * x + 3] = 255;
        }
        break;
    case 16:
    case 32: {
        Channel red(header.masks.red), green(header.masks.green), blue(header.masks.blue), alpha(header.masks.alpha);
        unsigned bytes = header.bitCount / 8;
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, row + bytes * x, bytes);
            out[4 * x] = blue.Of(pixel);
            out[4 * x + 1] = green.Of(pixel);
            out[4 * x + 2] = red.Of(pixel);
            out[4 * x + 3] = alpha.Present() ? alpha.Of(pixel) : 255;
        }
        break;
    }
    default:
        break;
    }
}

// RLE8 / RLE4 into an index per pixel, rows top-down. Runs are cut at the end
// of their row, deltas and rows beyond the picture write nothing, and data
// that ends early ends the picture there.
void DecodeRunLengths(const DibHeader& header, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& indexes)
{
    const std::uint32_t width = header.width;
    const std::uint32_t height = header.height;
    const bool fourBit = header.compression == kBiRle4;
    std::uint32_t x = 0;
    std::uint32_t y = 0;  // counted from the bottom row
    std::size_t at = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height)
            indexes[static_cast<std::size_t>(height - 1 - y) * width + x] = index;
        if (x < width)
            ++x;
    };
    while (y < height && data.size() - at >= 2) {
        std::uint8_t count = data[at];
        std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i)
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return;
        case 2:  // delta
            if (data.size() - at < 2)
                return;
            x = std::min<std::uint32_t>(x + data[at], width);
            y += data[at + 1];
            at += 2;
            break;
        default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
            std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
            std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (data.size() - at < bytes)
                return;
            for (unsigned i = 0; i < value; ++i) {
                std::uint8_t b = data[at + (fourBit ? i / 2 : i)];
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            at += std::min(padded, data.size() - at);
            break;
        }
        }
    }
}

}  // namespace

DecodeResult<DibHeader> ReadDibHeader(std::span<const std::uint8_t> dib, bool iconImage)
{
    auto size = ReadDiskStruct<std::uint32_t>(dib, 0);
    if (!size)
        return Refuse("bitmap header missing");
    DibHeader header;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint64_t storedColours = 0;
    std::uint64_t entryBytes = 4;
    std::uint64_t followingMasks = 0;
    if (*size == kCoreHeaderSize) {
        auto core = ReadDiskStruct<BitmapCoreHeader>(dib, 0);
        if (!core)
            return Refuse("bitmap header runs past the end");
        width = core->width;
        height = core->height;
        header.bitCount = core->bitCount;
        storedColours = PaletteSize(core->bitCount);
        entryBytes = 3;
    } else {
        auto info = ReadDiskStruct<BitmapInfoHeader>(dib, 0);
        if (*size < kInfoHeaderSize || !info || *size > dib.size())
            return Refuse("bitmap header of unknown size or past the end");
        width = info->width;
        height = info->height;
        header.bitCount = info->bitCount;
        header.compression = info->compression;
        storedColours = info->coloursUsed ? info->coloursUsed : PaletteSize(info->bitCount);
        if (info->compression == kBiBitfields || info->compression == kBiAlphaBitfields) {
            bool withAlpha = info->compression == kBiAlphaBitfields;
            std::uint64_t masksAt = kInfoHeaderSize;
            if (*size < kHeaderWithRgbMasks) {
                followingMasks = withAlpha ? 16 : 12;
                masksAt = *size;
            }
            auto masks = ReadDiskStruct<BitmapColourMasks>(dib, masksAt);
            auto rgb = ByteRange(dib, masksAt, 12);
            if (!rgb)
                return Refuse("bitmap colour masks run past the end");
            std::memcpy(&header.masks, rgb->data(), 12);
            if ((withAlpha || *size >= kHeaderWithAlphaMask) && masks)
                header.masks.alpha = masks->alpha;
        }
    }
    if (!IsKnownDepth(header.bitCount))
        return Refuse("bitmap depth not supported");
    if (!CompressionFits(header.compression, header.bitCount))
        return Refuse("bitmap compression not supported for its depth");
    if (header.compression == kBiRgb && header.bitCount == 16)
        header.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (header.compression == kBiRgb && header.bitCount == 32)
        header.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, iconImage ? 0xFF000000u : 0u};
    if (height < 0) {
        header.topDown = true;
        height = -height;
    }
    if (iconImage) {
        if (header.topDown)
            return Refuse("icon image stored top-down");
        height /= 2;
    }
    if (header.topDown && (header.compression == kBiRle8 || header.compression == kBiRle4))
        return Refuse("run-length bitmap stored top-down");
    if (!SidesAllowed(static_cast<std::uint64_t>(std::max<std::int64_t>(width, 0)),
                      static_cast<std::uint64_t>(std::max<std::int64_t>(height, 0))))
        return Refuse("bitmap size empty or too large");
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);

    std::uint64_t tableAt = std::uint64_t{*size} + followingMasks;
    std::uint64_t readColours = std::min<std::uint64_t>(storedColours, PaletteSize(header.bitCount));
    auto table = ByteRange(dib, tableAt, readColours * entryBytes);
    if (!table)
        return Refuse("colour table runs past the end");
    for (std::uint64_t i = 0; i < readColours; ++i) {
        const std::uint8_t* entry = table->data() + i * entryBytes;
        header.palette[i] = {entry[0], entry[1], entry[2], 0};
    }
    header.packedPixelOffset = tableAt + storedColours * entryBytes;
    return header;
}

std::uint64_t DibPixelBytes(const DibHeader& header)
{
    return PaddedRowBytes(header.width, header.bitCount, 4) * header.height;
}

DecodeStatus DecodeDibPixels(const DibHeader& header, std::span<const std::uint8_t> pixels, PictureBudget& budget,
                             const DibRowSink& sink)
{
    const std::uint32_t width = header.width;
    const std::uint32_t height = header.height;
    if (!budget.Reserve(std::uint64_t{width} * 4))
        return Refuse("picture needs too much memory");
    std::vector<std::uint8_t> row(std::size_t{width} * 4);

    if (header.compression == kBiRle8 || header.compression == kBiRle4) {
        if (!budget.ReserveRows(height, width))
            return Refuse("picture needs too much memory");
        std::vector<std::uint8_t> indexes(std::size_t{width} * height, 0);
        DecodeRunLengths(header, pixels, indexes);
        for (std::uint32_t y = 0; y < height; ++y) {
            const std::uint8_t* source = indexes.data() + std::size_t{y} * width;
            for (std::uint32_t x = 0; x < width; ++x)
                PutPaletteColour(header, source[x], row.data() + 4 * x);
            sink(y, row.data());
        }
        return Succeeded();
    }

    std::uint64_t stride = PaddedRowBytes(width, header.bitCount, 4);
    if (DibPixelBytes(header) > pixels.size())
        return Refuse("pixel rows run past the end of the data");
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint32_t stored = header.topDown ? y : height - 1 - y;
        ConvertRow(header, pixels.data() + stored * stride, row.data());
        sink(y, row.data());
    }
    return Succeeded();
}

}  // namespace vellumry::units
