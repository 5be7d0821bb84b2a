#include "units/picture/private/IcoReader.h"

#include <algorithm>

#include "units/picture/private/DibReader.h"
#include "units/picture/private/DiskStruct.h"
#include "units/picture/private/PngReader.h"
#include "units/picture/private/PixelMemory.h"

namespace vellumry::units {
namespace {

constexpr std::uint8_t kFewestColours = 16;

DecodeResult<IconDirectoryEntry> ChooseEntry(std::span<const std::uint8_t> bytes, std::uint16_t count,
                                             std::uint8_t iconSize)
{
    if (!ByteRange(bytes, sizeof(IconDirectory), std::uint64_t{count} * sizeof(IconDirectoryEntry)))
        return Refuse("icon directory runs past the end");
    IconDirectoryEntry entry{};
    for (std::uint16_t i = 0; i < count; ++i) {
        entry = *ReadDiskStruct<IconDirectoryEntry>(bytes, sizeof(IconDirectory) + i * sizeof(IconDirectoryEntry));
        if (entry.colourCount >= kFewestColours && entry.width == iconSize)
            break;
    }
    return entry;
}

// The AND mask, one bit a pixel, rows bottom-up and padded to 32 bits: a set
// bit leaves the screen as it is, so the pixel becomes fully transparent.
void ApplyMask(const DibHeader& header, std::span<const std::uint8_t> mask, std::uint8_t* pixels)
{
    const std::uint64_t stride = PaddedRowBytes(header.width, 1, 4);
    for (std::uint32_t y = 0; y < header.height; ++y) {
        const std::uint8_t* row = mask.data() + (header.height - 1 - y) * stride;
        std::uint8_t* out = pixels + std::size_t{y} * header.width * 4;
        for (std::uint32_t x = 0; x < header.width; ++x)
            if (row[x / 8] & (0x80 >> (x % 8)))
                std::fill_n(out + 4 * x, 4, std::uint8_t{0});
    }
}

DecodeResult<DecodedPicture> DecodeBitmapImage(std::span<const std::uint8_t> image, PictureBudget& budget)
{
    auto header = ReadDibHeader(image, true);
    if (!header)
        return header.Failure();
    if (header->compression == kBiRle8 || header->compression == kBiRle4)
        return Refuse("icon image compressed");
    if (header->packedPixelOffset > image.size())
        return Refuse("icon pixels past the end of the image");
    if (!budget.ReserveRows(header->height, std::uint64_t{header->width} * 4))
        return Refuse("picture needs too much memory");
    DecodedPicture picture;
    picture.width = header->width;
    picture.height = header->height;
    SizePixels(picture.pixels, std::size_t{picture.width} * picture.height * 4);
    const std::size_t stride = std::size_t{picture.width} * 4;
    bool anyAlpha = false;
    auto pixels = image.subspan(static_cast<std::size_t>(header->packedPixelOffset));
    auto status = DecodeDibPixels(*header, pixels, budget, [&](std::uint32_t row, const std::uint8_t* bgra) {
        std::uint8_t* out = picture.pixels.data() + row * stride;
        std::copy_n(bgra, stride, out);
        if (header->bitCount == 32)
            for (std::size_t x = 3; x < stride && !anyAlpha; x += 4)
                anyAlpha = bgra[x] != 0;
    });
    if (!status)
        return status.Failure();
    // Icons of 32 bits whose alpha is all zero predate alpha: their mask
    // decides, like every icon of fewer bits.
    if (header->bitCount != 32 || !anyAlpha) {
        for (std::size_t i = 3; i < picture.pixels.size(); i += 4)
            picture.pixels[i] = 255;
        std::uint64_t colourBytes = DibPixelBytes(*header);
        auto mask = ByteRange(pixels, colourBytes, PaddedRowBytes(header->width, 1, 4) * header->height);
        if (mask)
            ApplyMask(*header, *mask, picture.pixels.data());
    }
    return picture;
}

}  // namespace

bool SniffIcon(std::span<const std::uint8_t> bytes, std::uint16_t type)
{
    auto directory = ReadDiskStruct<IconDirectory>(bytes, 0);
    return directory && directory->reserved == 0 && directory->type == type && directory->count > 0;
}

DecodeResult<DecodedPicture> DecodeIcon(std::span<const std::uint8_t> bytes, PictureKind kind, std::uint8_t iconSize)
{
    std::uint16_t type = kind == PictureKind::Cur ? 2 : 1;
    if (!SniffIcon(bytes, type))
        return Refuse("not an icon file");
    auto entry = ChooseEntry(bytes, ReadDiskStruct<IconDirectory>(bytes, 0)->count, iconSize);
    if (!entry)
        return entry.Failure();
    auto image = ByteRange(bytes, entry->imageOffset, entry->bytesInResource);
    if (!image)
        return Refuse("icon image lies outside the data");
    PictureBudget budget;
    auto picture = SniffPng(*image) ? DecodePng(*image, budget) : DecodeBitmapImage(*image, budget);
    if (picture)
        picture->kind = kind;
    return picture;
}

}  // namespace vellumry::units
