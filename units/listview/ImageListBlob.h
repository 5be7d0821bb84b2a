#pragma once

// An image list stored in a unit property: the 4 bytes "MITL", 4 bytes that
// are skipped, then the image list in the common-controls stream format.
// Data shorter than 9 bytes or with another magic holds no image list.

#include <cstdint>
#include <span>

namespace vellumry::units {

bool IsImageListBlob(std::span<const std::uint8_t> blob);

// The image list stream after the 8-byte head; empty when the blob holds no
// image list.
std::span<const std::uint8_t> ImageListStream(std::span<const std::uint8_t> blob);

}  // namespace vellumry::units
