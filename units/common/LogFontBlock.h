#pragma once

// A unit's `Font` property: a 60-byte LOGFONTA (five 32-bit fields: height,
// width, escapement, orientation, weight; eight bytes: italic, underline,
// strike-out, character set, three precision and quality bytes, pitch and
// family; a 32-byte GBK face name), or anything else for the default GUI
// font. Window thread only (fonts are Qt objects).

#include <QFont>

#include <cstdint>
#include <span>

namespace vellumry::units {

inline constexpr std::size_t kLogFontSize = 60;

// The font of the block, or the default GUI font when the block is not a
// LOGFONTA or names no usable font.
QFont FontOfBlock(std::span<const std::uint8_t> block);

}  // namespace vellumry::units
