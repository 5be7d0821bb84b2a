#include "units/picture/private/IndexedLayout.h"
#include "units/picture/private/PixelMemory.h"

#include <cstring>

namespace vellumry::units {

std::uint64_t IndexedStride(std::uint32_t width)
{
    return PaddedRowBytes(width, 8, 4);
}

DecodeResult<DecodedPicture> MakeIndexedPicture(PictureKind kind, std::uint32_t width, std::uint32_t height,
                                                const std::array<RgbQuad, 256>& colours, std::uint8_t fill,
                                                PictureBudget& budget)
{
    const std::uint64_t stride = IndexedStride(width);
    if (!budget.Reserve(kIndexedPixelOffset) || !budget.ReserveRows(height, stride))
        return Refuse("picture needs too much memory");
    DecodedPicture picture;
    picture.kind = kind;
    picture.width = width;
    picture.height = height;
    SizePixels(picture.pixels, kIndexedPixelOffset + stride * height, fill);
    BitmapInfoHeader header{};
    header.size = sizeof(BitmapInfoHeader);
    header.width = static_cast<std::int32_t>(width);
    header.height = static_cast<std::int32_t>(height);
    header.planes = 1;
    header.bitCount = 8;
    header.compression = kBiRgb;
    header.imageSize = static_cast<std::uint32_t>(stride * height);
    header.coloursUsed = 256;
    static_assert(sizeof header == kIndexedHeaderBytes);
    std::memcpy(picture.pixels.data(), &header, sizeof header);
    std::memcpy(picture.pixels.data() + kIndexedHeaderBytes, colours.data(), sizeof colours);
    return picture;
}

std::uint8_t* IndexedRow(DecodedPicture& picture, std::uint32_t row)
{
    return picture.pixels.data() + kIndexedPixelOffset + IndexedStride(picture.width) * (picture.height - 1 - row);
}

const std::uint8_t* IndexedRow(const DecodedPicture& picture, std::uint32_t row)
{
    return picture.pixels.data() + kIndexedPixelOffset + IndexedStride(picture.width) * (picture.height - 1 - row);
}

const RgbQuad* IndexedColours(const DecodedPicture& picture)
{
    return reinterpret_cast<const RgbQuad*>(picture.pixels.data() + kIndexedHeaderBytes);
}

}  // namespace vellumry::units
