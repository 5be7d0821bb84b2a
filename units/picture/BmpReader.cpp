#include "units/picture/private/BmpReader.h"

#include "units/picture/private/DibReader.h"
#include "units/picture/private/DiskStruct.h"
#include "units/picture/private/PixelMemory.h"

namespace vellumry::units {

bool SniffBmp(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

DecodeResult<DecodedPicture> DecodeBmp(std::span<const std::uint8_t> bytes)
{
    if (!SniffBmp(bytes))
        return Refuse("not a BMP file");
    auto file = ReadDiskStruct<BitmapFileHeader>(bytes, 0);
    if (!file)
        return Refuse("BMP file header runs past the end");
    std::span<const std::uint8_t> dib = bytes.subspan(sizeof(BitmapFileHeader));
    auto header = ReadDibHeader(dib, false);
    if (!header)
        return header.Failure();
    // Some writers leave the pixel offset 0; the pixels then follow the
    // colour table.
    std::uint64_t pixelOffset =
        file->pixelOffset != 0 ? file->pixelOffset : sizeof(BitmapFileHeader) + header->packedPixelOffset;
    if (pixelOffset > bytes.size())
        return Refuse("pixel offset past the end of the file");

    const std::uint32_t width = header->width;
    const std::uint32_t height = header->height;
    PictureBudget budget;
    if (!budget.ReserveRows(height, std::uint64_t{width} * 3))
        return Refuse("picture needs too much memory");
    DecodedPicture picture;
    picture.kind = PictureKind::Bmp;
    picture.width = width;
    picture.height = height;
    SizePixels(picture.pixels, std::size_t{width} * height * 3);
    const std::size_t stride = std::size_t{width} * 3;
    auto status = DecodeDibPixels(*header, bytes.subspan(static_cast<std::size_t>(pixelOffset)), budget,
                                  [&](std::uint32_t row, const std::uint8_t* bgra) {
                                      std::uint8_t* out = picture.pixels.data() + (height - 1 - row) * stride;
                                      for (std::uint32_t x = 0; x < width; ++x) {
                                          out[3 * x] = bgra[4 * x];
                                          out[3 * x + 1] = bgra[4 * x + 1];
                                          out[3 * x + 2] = bgra[4 * x + 2];
                                      }
                                  });
    if (!status)
        return status.Failure();
    return picture;
}

}  // namespace vellumry::units
