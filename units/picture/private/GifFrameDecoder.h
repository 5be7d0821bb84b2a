#pragma once

// The colour indexes of one GIF frame on the logical screen, row by row in
// picture order (an interlaced frame's passes put in place), cut to the
// screen.

#include <cstdint>
#include <functional>

#include "units/picture/DecodeResult.h"
#include "units/picture/private/GifStream.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {

// Receives the part of a frame row that lies on the screen: `count`
// indexes from screen position (x, y).
using GifRowSink =
    std::function<void(std::uint32_t x, std::uint32_t y, const std::uint8_t* indexes, std::uint32_t count)>;

// Fails only for a minimum code size outside 2 to 8 or a frame too large for
// the budget; data that ends early or breaks off gives the rows before it.
// Decoding ends as soon as no row the screen shows is left to come, so a
// frame that hangs off a small screen costs no more than its visible part
// (and the rows an interlaced frame stores before it).
DecodeStatus DecodeGifFrame(const GifFrame& frame, std::uint32_t screenWidth, std::uint32_t screenHeight,
                            PictureBudget& budget, const GifRowSink& sink);

// The colour table a frame's indexes refer to: its own, else the global one;
// none when neither exists.
const GifColourTable* FrameColours(const GifFrame& frame, const GifColourTable& global, GifColourTable& local);

}  // namespace vellumry::units
