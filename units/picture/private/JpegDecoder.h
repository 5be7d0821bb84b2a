#pragma once

#include <optional>
#include <span>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

// libjpeg to 24-bit RGB, then red and blue swapped and the rows reversed.
std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
