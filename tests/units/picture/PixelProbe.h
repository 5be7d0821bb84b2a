#pragma once

// Reads single pixels out of a decoded picture by its documented layout, so
// that tests state what they expect as colours at places.

#include <cstdint>

#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace vellumry::test {

// The colour at (x, y), counted from the top left, as 0xRRGGBB.
Rgb PixelOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y);

// The alpha at (x, y) of a 32-bit picture (PNG, ICO, CUR); 255 for others.
std::uint8_t AlphaOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y);

// The colour index at (x, y) of a picture in the 8-bit layout.
std::uint8_t IndexOf(const units::DecodedPicture& picture, std::uint32_t x, std::uint32_t y);

}  // namespace vellumry::test
