#pragma once

// The font a unit's Font block names: a 60-byte LOGFONTA (height in pixels,
// negative for the character height; weight; italic, underline and
// strike-out; face name in GBK). Any other block is the default GUI font,
// the application's font. Window thread only.

#include <QFont>

#include <cstdint>
#include <span>

#include "units/common/FontFaceName.h"

namespace vellumry::units {

QFont FontOfBlock(std::span<const std::uint8_t> block);

}  // namespace vellumry::units
