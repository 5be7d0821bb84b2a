#include "units/picture/DecodedPicture.h"

#include "units/picture/private/JpegDecoder.h"

namespace vellumry::units {
namespace {

std::uint16_t Word16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

bool IsIconDirectory(std::span<const std::uint8_t> b, std::uint16_t type)
{
    return Word16(b, 0) == 0 && Word16(b, 2) == type && Word16(b, 4) > 0;
}

}  // namespace

PictureKind DetectPictureKind(std::span<const std::uint8_t> b)
{
    if (b.size() < 6)
        return PictureKind::None;
    if (b[0] == 'B' && b[1] == 'M')
        return PictureKind::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8)
        return PictureKind::Jpeg;
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return PictureKind::Png;
    if (IsIconDirectory(b, 1))
        return PictureKind::Ico;
    if (IsIconDirectory(b, 2))
        return PictureKind::Cur;
    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a')
        return PictureKind::Gif;
    if (b[0] == 0x0A && b.size() >= 4 && b[2] == 1) {
        if (b[1] <= 5 && b[3] == 8)
            return PictureKind::Pcx8;
        if (b[1] == 3 && b[3] == 1)
            return PictureKind::Pcx1;
    }
    return PictureKind::None;
}

std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes)
{
    switch (DetectPictureKind(bytes)) {
    case PictureKind::Jpeg:
        return DecodeJpeg(bytes);
    default:
        // The other kinds are recognised but not decoded by this build.
        return std::nullopt;
    }
}

}  // namespace vellumry::units
