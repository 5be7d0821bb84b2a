#include "units/picture/private/PixelMemory.h"

namespace vellumry::units {

void SizePixels(PixelBlock& pixels, std::size_t bytes, std::uint8_t fill)
{
    pixels.assign(bytes, fill);
}

void SizePixelsUnfilled(PixelBlock& pixels, std::size_t bytes)
{
    pixels.clear();
    pixels.resize(bytes);
}

}  // namespace vellumry::units
