#pragma once

// Decoded pictures made ready for drawing, and drawn, with Qt: the Prepare,
// DrawPicture and Release steps that every unit showing a picture shares.
// A prepared picture is an image (Release is its destructor); icons and
// cursors keep their transparency and are drawn blended, everything else is
// opaque. Window thread only.

#include <QColor>
#include <QImage>

#include <cstdint>
#include <optional>

#include "units/picture/DecodedPicture.h"
#include "units/picture/GifAnimator.h"

class QPainter;

namespace vellumry::units {

// Raster operations (the documented ternary codes) that DrawPicture takes.
inline constexpr std::int32_t SRCCOPY = 0x00CC0020;
inline constexpr std::int32_t SRCPAINT = 0x00EE0086;
inline constexpr std::int32_t SRCAND = 0x008800C6;
inline constexpr std::int32_t SRCINVERT = 0x00660046;
inline constexpr std::int32_t SRCERASE = 0x00440328;
inline constexpr std::int32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::int32_t NOTSRCERASE = 0x001100A6;

struct PreparedPicture {
    QImage image;
    bool icon = false;  // drawn like DrawIconEx: blended, at the size asked
};

// Fails for a picture without pixels or with a pixel block that does not
// match its kind and size. `background` is what a PNG's partly transparent
// pixels are blended over.
std::optional<PreparedPicture> PreparePicture(const DecodedPicture& picture, QColor background);

// An animation frame, blended over `background` like a PNG.
std::optional<PreparedPicture> PrepareFrame(const AnimationFrame& frame, QColor background);

// Draws at (x, y); a width or height of -1 means the picture's own. Bitmaps
// are stretched smoothly on displays of more than 16 bits per pixel, by
// nearest pixel otherwise, and combined with `rasterOperation`; a negative
// operation draws masked, with the colour reference -rasterOperation
// transparent. False for an operation it does not know.
bool DrawPicture(QPainter& painter, const PreparedPicture& picture, int x, int y, int width, int height,
                 std::int32_t rasterOperation);

}  // namespace vellumry::units
