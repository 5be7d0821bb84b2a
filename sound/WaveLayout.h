#pragma once

// Where the format and the samples of RIFF/WAVE data lie.
//
// The data must be at least 36 bytes with "RIFF" at 0 and "WAVE" at 8. The
// chunks from offset 12 (a four-byte identifier, a 32-bit little-endian size,
// the data) are walked until the first "fmt " and the first "data" chunk are
// both known, in either order, or the walk reaches the RIFF size (counted
// from offset 12) or the end of the bytes. A chunk is followed by the next
// one exactly `size` bytes later; after an odd size, a pad byte is skipped
// when the next identifier only makes sense one byte further on.
//
// Bytes past the end are never read: a "fmt " chunk that runs past the end
// is refused, a "data" chunk that runs past it is cut at the end. The
// samples are cut to whole blocks of the format's block alignment.
// Refused: no "fmt " chunk; a "fmt " chunk shorter than its format needs
// (16 bytes for PCM, 18 plus its extension size for other formats); zero
// channels, sample rate or block alignment; PCM of other than 8, 16, 24 or
// 32 bits, or whose block alignment is not channels × bytes per sample; no
// "data" chunk, or no whole block in it.

#include <cstdint>
#include <optional>
#include <span>

namespace vellumry::sound {

struct WaveLayout {
    std::span<const std::uint8_t> format;   // the "fmt " chunk's data, a WAVEFORMATEX
    std::span<const std::uint8_t> samples;  // the "data" chunk's data, whole blocks
};

std::optional<WaveLayout> ParseWave(std::span<const std::uint8_t> data);

}  // namespace vellumry::sound
