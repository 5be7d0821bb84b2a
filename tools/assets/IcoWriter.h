#pragma once

// Windows icon files: a directory of images, each a 32-bit BMP DIB with its
// AND mask.

#include <cstdint>
#include <span>
#include <vector>

namespace vellumry::assets {

// One square image: `size` x `size` pixels, rows top-down, 4 bytes per pixel
// in blue, green, red, alpha order, alpha not premultiplied.
struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> bgra;
};

// The icon file holding `images` in the given order. Each image is stored as
// a BITMAPINFOHEADER of twice its height, the colour rows bottom-up, then the
// AND mask (1 bit per pixel, rows padded to 32 bits, set where alpha is 0).
// Sizes from 1 to 256 are accepted.
std::vector<std::uint8_t> EncodeIco(std::span<const IconImage> images);

}  // namespace vellumry::assets
