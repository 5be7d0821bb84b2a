#include "tests/units/picture/PixelProbe.h"

namespace vellumry::test {
namespace {

using units::PictureKind;

std::size_t IndexedStride(std::uint32_t width)
{
    return (width + 3) / 4 * 4;
}

Rgb FromBgr(const std::uint8_t* p)
{
    return (Rgb{p[2]} << 16) | (Rgb{p[1]} << 8) | p[0];
}

}  // namespace

std::uint8_t IndexOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y)
{
    std::size_t row = picture.height - 1 - y;  // rows bottom-up
    return picture.pixels.at(units::kIndexedPixelOffset + row * IndexedStride(picture.width) + x);
}

Rgb PixelOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y)
{
    switch (picture.kind) {
    case PictureKind::Jpeg:
    case PictureKind::Bmp: {
        std::size_t row = picture.height - 1 - y;
        return FromBgr(&picture.pixels.at((row * picture.width + x) * 3));
    }
    case PictureKind::Gif:
    case PictureKind::Pcx8:
        return FromBgr(&picture.pixels.at(units::kIndexedHeaderBytes + 4 * std::size_t{IndexOf(picture, x, y)}));
    case PictureKind::Pcx1: {
        std::size_t stride = (picture.width + 15) / 16 * 2;
        bool set = picture.pixels.at(y * stride + x / 8) & (0x80 >> (x % 8));
        return set ? 0xFFFFFF : 0x000000;
    }
    case PictureKind::Png:
    case PictureKind::Ico:
    case PictureKind::Cur:
        return FromBgr(&picture.pixels.at((std::size_t{y} * picture.width + x) * 4));
    case PictureKind::None:
        break;
    }
    return 0xDEAD;
}

std::uint8_t AlphaOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y)
{
    switch (picture.kind) {
    case PictureKind::Png:
    case PictureKind::Ico:
    case PictureKind::Cur:
        return picture.pixels.at((std::size_t{y} * picture.width + x) * 4 + 3);
    default:
        return 255;
    }
}

}  // namespace vellumry::test
