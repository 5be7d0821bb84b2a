#pragma once

// The device-independent bitmap inside BMP files and ICO/CUR images: its
// header, colour table and masks, and its pixels (1, 4 and 8 bits with a
// colour table, RLE8 and RLE4, 16 and 32 bits with or without bit fields,
// 24 bits; bottom-up or top-down rows).

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "units/picture/DecodeResult.h"
#include "units/picture/private/BitmapStructs.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {

struct DibHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;  // of the image; an icon's header says twice this
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    BitmapColourMasks masks{};
    // Entries beyond those stored stay black, so any index is harmless.
    std::array<RgbQuad, 256> palette{};
    // Where the pixels of a packed DIB start: header, masks and colour table.
    std::uint64_t packedPixelOffset = 0;
};

// Reads the header at the start of `dib` (which runs to the end of the data).
// For an icon image the stored height covers the colour rows and the AND
// mask, so the image is half as high.
DecodeResult<DibHeader> ReadDibHeader(std::span<const std::uint8_t> dib, bool iconImage);

// Bytes of the colour rows of an uncompressed DIB.
std::uint64_t DibPixelBytes(const DibHeader& header);

// Receives each row, top row first, as blue-green-red-alpha quads (alpha as
// stored for 32 bits, 255 otherwise); `row` is the top-down row number.
using DibRowSink = std::function<void(std::uint32_t row, const std::uint8_t* bgra)>;

// Decodes the pixels that start `pixels` into rows. Uncompressed data must
// hold every row; RLE data may end early, leaving the rest at colour 0.
DecodeStatus DecodeDibPixels(const DibHeader& header, std::span<const std::uint8_t> pixels,
                            PictureBudget& budget, const DibRowSink& sink);

}  // namespace vellumry::units
