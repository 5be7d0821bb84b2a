#pragma once

// Baseline JPEG encoding with libjpeg, in memory.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/assets/Raster.h"

namespace vellumry::assets {

// Baseline (sequential, Huffman-optimised) JPEG with 2 x 2 chroma subsampling.
// A comment segment of `commentSegmentBytes` bytes in total (marker included;
// 0 for none, otherwise at least 4) follows the JFIF header.
std::vector<std::uint8_t> EncodeJpeg(const Raster& picture, int quality, std::size_t commentSegmentBytes = 0);

// The best-quality encoding whose size does not exceed `fileSize`, brought to
// exactly `fileSize` bytes with a comment segment. Fails (ends the program)
// when even the lowest quality does not fit.
std::vector<std::uint8_t> EncodeJpegOfSize(const Raster& picture, std::size_t fileSize);

}  // namespace vellumry::assets
