#pragma once

// The colour indexes of one GIF frame, row by row in picture order (an
// interlaced frame's passes put in place).

#include <cstdint>
#include <functional>

#include "units/picture/DecodeResult.h"
#include "units/picture/private/GifStream.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {

// Receives row `row` of the frame (0 = its top row) with `count` indexes;
// only the last row the data reaches can be shorter than the frame.
using GifRowSink = std::function<void(std::uint32_t row, const std::uint8_t* indexes, std::uint32_t count)>;

// Fails only for a minimum code size outside 2 to 8 or a frame too large for
// the budget; data that ends early or breaks off gives the rows before it.
DecodeStatus DecodeGifFrame(const GifFrame& frame, PictureBudget& budget, const GifRowSink& sink);

// The colour table a frame's indexes refer to: its own, else the global one;
// none when neither exists.
const GifColourTable* FrameColours(const GifFrame& frame, const GifColourTable& global, GifColourTable& local);

// Calls `visit(screenX, screenY, index, count)` for the part of a frame row
// that lies on a logical screen of `width` × `height`.
template <typename Visit>
void ClipFrameRow(const GifFrame& frame, std::uint32_t row, const std::uint8_t* indexes, std::uint32_t count,
                  std::uint32_t width, std::uint32_t height, Visit&& visit)
{
    std::uint32_t y = std::uint32_t{frame.top} + row;
    if (y >= height || frame.left >= width)
        return;
    std::uint32_t visible = std::min(count, width - frame.left);
    visit(std::uint32_t{frame.left}, y, indexes, visible);
}

}  // namespace vellumry::units
