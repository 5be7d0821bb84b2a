#include "tools/assets/IcoWriter.h"

#include <cstdio>
#include <cstdlib>

#include "tools/assets/ByteWriter.h"

namespace vellumry::assets {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kDirectoryHeaderSize = 6;
constexpr std::uint32_t kDirectoryEntrySize = 16;
constexpr std::uint16_t kIconResourceType = 1;

std::uint32_t MaskRowBytes(int size) { return static_cast<std::uint32_t>((size + 31) / 32 * 4); }

std::uint32_t ImageBytes(int size)
{
    const auto side = static_cast<std::uint32_t>(size);
    return kInfoHeaderSize + side * side * 4 + MaskRowBytes(size) * side;
}

void WriteImage(ByteWriter& out, const IconImage& image)
{
    const int size = image.size;
    const auto side = static_cast<std::uint32_t>(size);
    out.U32(kInfoHeaderSize);
    out.I32(size);
    out.I32(size * 2);  // colour rows and mask rows together
    out.U16(1);         // planes
    out.U16(32);        // bits per pixel
    out.U32(0);         // BI_RGB
    out.U32(ImageBytes(size) - kInfoHeaderSize);
    out.I32(0);  // horizontal resolution
    out.I32(0);  // vertical resolution
    out.U32(0);  // colours used
    out.U32(0);  // important colours

    const std::size_t stride = side * 4;
    for (int y = size - 1; y >= 0; --y)
        out.Bytes(std::span(image.bgra).subspan(static_cast<std::size_t>(y) * stride, stride));

    // The mask hides what is fully transparent, for drawing that ignores alpha.
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(MaskRowBytes(size), 0);
        for (int x = 0; x < size; ++x) {
            if (image.bgra[(static_cast<std::size_t>(y) * side + static_cast<std::size_t>(x)) * 4 + 3] == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.Bytes(row);
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(std::span<const IconImage> images)
{
    for (const IconImage& image : images) {
        if (image.size < 1 || image.size > 256 ||
            image.bgra.size() != static_cast<std::size_t>(image.size) * static_cast<std::size_t>(image.size) * 4) {
            std::fprintf(stderr, "vellumry_assetgen: an icon image of size %d cannot be written\n", image.size);
            std::exit(1);
        }
    }

    ByteWriter out;
    out.U16(0);  // reserved
    out.U16(kIconResourceType);
    out.U16(static_cast<std::uint16_t>(images.size()));

    std::uint32_t offset = kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<std::uint32_t>(images.size());
    for (const IconImage& image : images) {
        // 256 is stored as 0 in the byte-sized fields.
        out.U8(static_cast<std::uint8_t>(image.size & 0xFF));
        out.U8(static_cast<std::uint8_t>(image.size & 0xFF));
        out.U8(0);  // colour count: 0 for images of more than 256 colours
        out.U8(0);  // reserved
        out.U16(1);   // planes
        out.U16(32);  // bits per pixel
        out.U32(ImageBytes(image.size));
        out.U32(offset);
        offset += ImageBytes(image.size);
    }
    for (const IconImage& image : images)
        WriteImage(out, image);
    return out.Take();
}

}  // namespace vellumry::assets
