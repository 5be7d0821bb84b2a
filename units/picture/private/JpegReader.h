#pragma once

#include <cstdint>
#include <span>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

bool SniffJpeg(std::span<const std::uint8_t> bytes);

// libjpeg into the 24-bit layout: blue-green-red pixels, rows bottom-up.
DecodeResult<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
