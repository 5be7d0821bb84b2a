#pragma once

// Mouse pointers of units. The stored data is a cursor kind word, followed,
// for a custom cursor, by the bytes of a cursor file. Stored kinds are the
// system cursor resource numbers (32512 the arrow, ...), 0 for the default
// cursor and -1 for a custom one; the application numbers the same cursors
// 0 to 15 (the public numbering below) and -1 for a custom one.
//
//  0 default    4 icon          8 size NW-SE   12 no
//  1 arrow      5 size all      9 size W-E     13 starting
//  2 cross      6 size NE-SW   10 up arrow     14 help
//  3 I-beam     7 size N-S     11 hourglass    15 hand

#include <cstdint>
#include <span>
#include <vector>

#include "platform/ui/WinUser.h"

namespace vellumry::forms {

inline constexpr std::int32_t kCustomPointer = -1;

std::int32_t PublicPointerKind(std::int32_t stored);
std::int32_t StoredPointerKind(std::int32_t publicKind);

// Translates the kind word of pointer data (when it has one) in place.
void ToPublicPointerData(std::vector<std::uint8_t>& data);
void ToStoredPointerData(std::vector<std::uint8_t>& data);

// The cursor for stored pointer data; null for the default cursor or data
// that gives none. A custom cursor is a new handle; a system one is shared.
HCURSOR CursorFromPointerData(std::span<const std::uint8_t> data);

}  // namespace vellumry::forms
