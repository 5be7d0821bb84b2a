#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "units/picture/DecodedPicture.h"
#include "units/picture/private/GifStream.h"

namespace vellumry::units {

bool SniffGif(std::span<const std::uint8_t> bytes);

// The size a GIF is shown at: its logical screen, or, where the screen says
// 0, the extent of the first frame.
std::pair<std::uint32_t, std::uint32_t> GifCanvasSize(const GifStream& stream, const GifFrame& first);

// The first frame as a still picture in the 8-bit layout, on the logical
// screen: what the frame leaves uncovered, and its transparent pixels, show
// the screen's background colour index.
DecodeResult<DecodedPicture> DecodeGif(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
