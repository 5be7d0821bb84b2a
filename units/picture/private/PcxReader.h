#pragma once

#include <cstdint>
#include <span>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

// The kind of a PCX file from its first bytes: 8 bits per pixel (version at
// most 5), 1 bit per pixel (version 3), or none.
PictureKind SniffPcx(std::span<const std::uint8_t> bytes);

// One plane of 8 bits with the 256-colour table at the end of a version 5
// file (a grey ramp when it has none) into the 8-bit layout; one plane of 1 bit into
// the monochrome layout. Run-length data that ends early leaves the rest of
// the rows at index 0.
DecodeResult<DecodedPicture> DecodePcx(std::span<const std::uint8_t> bytes);

}  // namespace vellumry::units
