#pragma once

#include <cstdint>
#include <span>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

// A directory header of type 1 (icon) or 2 (cursor) with at least one image.
bool SniffIcon(std::span<const std::uint8_t> bytes, std::uint16_t type);

// The big icon of an ICO or CUR file into blue-green-red-alpha pixels, rows
// top-down. The directory is read in order and the first entry of at least
// 16 colours and `iconSize` pixels wide is taken, else the last entry.
DecodeResult<DecodedPicture> DecodeIcon(std::span<const std::uint8_t> bytes, PictureKind kind,
                                        std::uint8_t iconSize = 32);

}  // namespace vellumry::units
