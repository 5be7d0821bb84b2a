#include "units/picture/DecodedPicture.h"

#include <new>

#include "units/picture/private/BmpReader.h"
#include "units/picture/private/GifReader.h"
#include "units/picture/private/IcoReader.h"
#include "units/picture/private/JpegReader.h"
#include "units/picture/private/PcxReader.h"
#include "units/picture/private/PngReader.h"

namespace vellumry::units {

PictureKind DetectPictureKind(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 6)
        return PictureKind::None;
    if (SniffBmp(bytes))
        return PictureKind::Bmp;
    if (SniffJpeg(bytes))
        return PictureKind::Jpeg;
    if (SniffPng(bytes))
        return PictureKind::Png;
    if (SniffIcon(bytes, 1))
        return PictureKind::Ico;
    if (SniffIcon(bytes, 2))
        return PictureKind::Cur;
    if (SniffGif(bytes))
        return PictureKind::Gif;
    return SniffPcx(bytes);
}

DecodeResult<DecodedPicture> TryDecodePicture(std::span<const std::uint8_t> bytes)
{
    // The budget checks keep every allocation within bounds; a failing one
    // (a machine short of memory) is a picture that cannot be shown.
    try {
        switch (PictureKind kind = DetectPictureKind(bytes)) {
        case PictureKind::Jpeg: return DecodeJpeg(bytes);
        case PictureKind::Bmp: return DecodeBmp(bytes);
        case PictureKind::Ico:
        case PictureKind::Cur: return DecodeIcon(bytes, kind);
        case PictureKind::Gif: return DecodeGif(bytes);
        case PictureKind::Pcx8:
        case PictureKind::Pcx1: return DecodePcx(bytes);
        case PictureKind::Png: return DecodePng(bytes);
        case PictureKind::None: break;
        }
        return Refuse("not a picture of a known kind");
    } catch (const std::bad_alloc&) {
        return Refuse("out of memory");
    }
}

std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes)
{
    auto result = TryDecodePicture(bytes);
    if (!result)
        return std::nullopt;
    return std::move(*result);
}

}  // namespace vellumry::units
