#pragma once

// One row of packed blue-green-red triples turned into opaque 32-bit pixels
// (0xFFRRGGBB words, the byte order blue, green, red, 0xFF in memory). The
// step that makes a decoded JPEG or BMP drawable, and for a large photograph
// the one that costs most after the decode itself. Qt-free; any thread.

#include <cstddef>
#include <cstdint>

namespace vellumry::units {

// Converts `width` pixels, with the fastest form the processor runs.
void BgrToOpaqueRow(const std::uint8_t* source, std::uint32_t* target, std::size_t width);

// The two forms, for tests that compare them.
void BgrToOpaqueRowPortable(const std::uint8_t* source, std::uint32_t* target, std::size_t width);
// Four pixels per shuffle; the processor must have SSSE3 (HasSsse3).
void BgrToOpaqueRowSsse3(const std::uint8_t* source, std::uint32_t* target, std::size_t width);
bool HasSsse3();

}  // namespace vellumry::units
