#pragma once

// The status bar's `Parts` block: a 32-bit part count, then per part its
// width (-1: up to the right edge), style (0 normal, 256 no borders, 512
// pop-out), image index (-1: none), text and tip text, both zero-terminated.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "units/RecordFormat.h"

namespace vellumry::units {

struct StatusBarPart {
    std::int32_t Width = -1;
    std::int32_t Style = 0;
    std::int32_t ImageIndex = -1;
    std::string Text;
    std::string TipText;

    bool operator==(const StatusBarPart&) const = default;
};

template <>
const RecordLayout<StatusBarPart>& LayoutOf<StatusBarPart>();

// Empty data is no parts. Fails for a negative count, a count the data cannot
// hold, a text without its zero byte, or bytes after the last part.
std::optional<std::vector<StatusBarPart>> ParseStatusBarParts(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteStatusBarParts(std::span<const StatusBarPart> parts);

}  // namespace vellumry::units
