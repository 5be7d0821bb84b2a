#pragma once

// One-line descriptions of the byte blocks in stored property records, for
// the inspector: pictures by kind and size from their headers, sounds by
// format and length, fonts by face. Only headers are read, each field after
// checking that the block holds it; nothing is decoded.

#include <cstdint>
#include <span>
#include <string>

#include "units/RecordFormat.h"

namespace vellumry::listing {

// "38 KB (38640 bytes)", "10.4 MB (10956878 bytes)", "18 bytes".
std::string DescribeSize(std::size_t size);

// "JPEG 824×616, 38 KB (38640 bytes)"; "empty" for no bytes. UTF-8.
std::string DescribeBlock(std::span<const std::uint8_t> block, units::BlockContent content);

}  // namespace vellumry::listing
