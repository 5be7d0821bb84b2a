#pragma once

// The face name a Font block holds (GBK), for the units' text enumeration:
// empty unless the block is a 60-byte LOGFONTA. Qt-free.

#include <cstdint>
#include <span>
#include <string>

namespace vellumry::units {

inline constexpr std::size_t kLogFontSize = 60;

std::string FontFaceName(std::span<const std::uint8_t> block);

}  // namespace vellumry::units
