#pragma once

// Sizing of the pixel block a decoder fills. Qt-free; any thread.

#include <cstddef>
#include <cstdint>

#include "units/picture/PixelBlock.h"

namespace vellumry::units {

// Sizes a pixel block to `bytes`, each set to `fill`.
void SizePixels(PixelBlock& pixels, std::size_t bytes, std::uint8_t fill = 0);

// Sizes a pixel block to `bytes` without writing them, for a decoder that
// writes every byte before the block is used (or drops the block).
void SizePixelsUnfilled(PixelBlock& pixels, std::size_t bytes);

}  // namespace vellumry::units
