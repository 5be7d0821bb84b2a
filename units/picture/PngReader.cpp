#include "units/picture/private/PngReader.h"
#include "units/picture/private/PixelMemory.h"

#include <png.h>

namespace vellumry::units {
namespace {

// libpng's simplified interface keeps its error jumps inside libpng and
// answers failure with a zero return; this guard frees what it holds on
// every way out.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

}  // namespace

bool SniffPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
}

DecodeResult<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes, PictureBudget& budget)
{
    if (!SniffPng(bytes))
        return Refuse("not a PNG file");
    PngImage png;
    if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()))
        return Refuse("PNG header unreadable");
    if (!SidesAllowed(png.image.width, png.image.height))
        return Refuse("picture size empty or too large");
    if (!budget.ReserveRows(png.image.height, std::uint64_t{png.image.width} * 4))
        return Refuse("picture needs too much memory");
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = png.image.width;
    picture.height = png.image.height;
    SizePixels(picture.pixels, std::size_t{picture.width} * picture.height * 4);
    png.image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&png.image, nullptr, picture.pixels.data(), 0, nullptr))
        return Refuse("PNG data unreadable");
    return picture;
}

DecodeResult<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes)
{
    PictureBudget budget;
    return DecodePng(bytes, budget);
}

}  // namespace vellumry::units
