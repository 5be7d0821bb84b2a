#pragma once

// What every decoded picture must satisfy, whatever bytes it came from: a
// size within the limits and a pixel block of exactly the size its kind's
// layout gives. A fuzz target stops (a crash the fuzzer keeps) when one does
// not hold.

#include <cstdint>
#include <cstdlib>

#include "units/picture/DecodedPicture.h"

namespace vellumry::test {

inline std::uint64_t LayoutBytes(const units::DecodedPicture& p)
{
    std::uint64_t w = p.width;
    std::uint64_t h = p.height;
    switch (p.kind) {
    case units::PictureKind::Jpeg:
    case units::PictureKind::Bmp: return w * h * 3;
    case units::PictureKind::Gif:
    case units::PictureKind::Pcx8: return units::kIndexedPixelOffset + (w + 3) / 4 * 4 * h;
    case units::PictureKind::Pcx1: return (w + 15) / 16 * 2 * h;
    case units::PictureKind::Png:
    case units::PictureKind::Ico:
    case units::PictureKind::Cur: return w * h * 4;
    case units::PictureKind::None: break;
    }
    return 0;
}

inline void CheckPicture(const units::DecodedPicture& picture)
{
    bool sized = picture.width > 0 && picture.height > 0 && picture.width <= units::kMaxPictureSide &&
                 picture.height <= units::kMaxPictureSide;
    if (!sized || picture.kind == units::PictureKind::None || picture.pixels.size() != LayoutBytes(picture))
        std::abort();
}

}  // namespace vellumry::test
