#pragma once

// Pictures stored as bytes in unit properties, decoded for drawing. The kind
// is told from the first bytes; bytes of no known kind, or bytes that fail to
// decode, give nothing, and the unit shows no picture. Qt-free; any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "units/picture/DecodeResult.h"
#include "units/picture/PixelBlock.h"

namespace vellumry::units {

enum class PictureKind { None = 0, Jpeg = 1, Bmp = 2, Ico = 3, Cur = 4, Gif = 5, Pcx8 = 6, Pcx1 = 7, Png = 8 };

// Pictures larger than this on either side are refused before any pixel is
// allocated.
inline constexpr std::uint32_t kMaxPictureSide = 16384;

// The 8-bit layout (GIF, PCX 8-bit): a 40-byte bitmap info header and a
// 256-entry colour table of blue-green-red-zero quads, then the rows.
inline constexpr std::size_t kIndexedHeaderBytes = 40;
inline constexpr std::size_t kIndexedPixelOffset = kIndexedHeaderBytes + 256 * 4;

struct DecodedPicture {
    PictureKind kind = PictureKind::None;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The pixel block, by kind:
    // - JPEG, BMP: 24-bit blue-green-red pixels, rows bottom-up, packed
    //   without fill bytes (width × height × 3).
    // - GIF (the still first frame), PCX 8-bit: the 8-bit layout above, rows
    //   bottom-up, each padded to a multiple of 4 bytes.
    // - PCX 1-bit: monochrome rows top-down, each padded to a multiple of
    //   2 bytes, the first pixel in the high bit, a set bit white.
    // - PNG, ICO, CUR: 32-bit blue-green-red-alpha pixels, rows top-down,
    //   alpha not premultiplied. An icon or cursor keeps its transparency
    //   here (from its alpha or its AND mask) and is drawn blended.
    PixelBlock pixels;
};

// The kind of a picture from its first bytes (fewer than 6: none). The tests
// run in the order BMP, JPEG, PNG, ICO, CUR, GIF, PCX.
PictureKind DetectPictureKind(std::span<const std::uint8_t> bytes);

// The picture, or why the bytes were refused.
DecodeResult<DecodedPicture> TryDecodePicture(std::span<const std::uint8_t> bytes);

// The picture, or nothing for no bytes, an unknown kind or a decoder failure.
std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
