#pragma once

#include <cstdint>
#include <span>

#include "units/picture/DecodedPicture.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {

bool SniffPng(std::span<const std::uint8_t> bytes);

// libpng to 32-bit blue-green-red-alpha pixels, rows top-down (the kind is
// set to PNG; the icon reader sets its own).
DecodeResult<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes, PictureBudget& budget);
DecodeResult<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
