#pragma once

#include <cstdint>
#include <span>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

// "BM".
bool SniffBmp(std::span<const std::uint8_t> bytes);

// A BMP file into the 24-bit layout (blue-green-red, rows bottom-up, packed).
DecodeResult<DecodedPicture> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
