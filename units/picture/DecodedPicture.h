#pragma once

// Pictures stored as bytes in unit properties, decoded for drawing. The kind
// is told from the first bytes; decoding a kind this build cannot decode, or
// bytes that fail, gives nothing, and the unit shows no picture.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vellumry::units {

enum class PictureKind { None = 0, Jpeg = 1, Bmp = 2, Ico = 3, Cur = 4, Gif = 5, Pcx8 = 6, Pcx1 = 7, Png = 8 };

// Pictures larger than this on either side are refused before any pixel is
// allocated.
inline constexpr std::uint32_t kMaxPictureSide = 16384;

struct DecodedPicture {
    PictureKind kind = PictureKind::None;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // JPEG: 24-bit pixels in blue-green-red order, rows bottom-up, packed.
    std::vector<std::uint8_t> pixels;
};

// The kind of a picture from its first bytes (fewer than 6: none). The tests
// run in the order BMP, JPEG, PNG, ICO, CUR, GIF, PCX.
PictureKind DetectPictureKind(std::span<const std::uint8_t> bytes);

std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
