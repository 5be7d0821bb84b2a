#include "tools/assets/Raster.h"

namespace vellumry::assets {

std::vector<std::uint8_t> Raster::ToRgb8() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_pixels.size() * 3);
    for (const Colour& c : m_pixels) {
        bytes.push_back(ToByte(c.r));
        bytes.push_back(ToByte(c.g));
        bytes.push_back(ToByte(c.b));
    }
    return bytes;
}

}  // namespace vellumry::assets
