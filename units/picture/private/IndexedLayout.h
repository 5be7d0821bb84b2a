#pragma once

// The 8-bit picture layout of GIF and PCX: a bitmap info header, a 256-entry
// colour table and bottom-up rows padded to 4 bytes, as one block.

#include <array>
#include <cstdint>

#include "units/picture/DecodeResult.h"
#include "units/picture/DecodedPicture.h"
#include "units/picture/private/BitmapStructs.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {

std::uint64_t IndexedStride(std::uint32_t width);

// A picture of that size with every pixel `fill`; sides must have passed
// SidesAllowed.
DecodeResult<DecodedPicture> MakeIndexedPicture(PictureKind kind, std::uint32_t width, std::uint32_t height,
                                                const std::array<RgbQuad, 256>& colours, std::uint8_t fill,
                                                PictureBudget& budget);

// Row `row` counted from the top.
std::uint8_t* IndexedRow(DecodedPicture& picture, std::uint32_t row);
const std::uint8_t* IndexedRow(const DecodedPicture& picture, std::uint32_t row);

// The colour table of an indexed picture.
const RgbQuad* IndexedColours(const DecodedPicture& picture);

}  // namespace vellumry::units
