#pragma once

// Music data is told apart by its first bytes: WAV is at least 12 bytes
// with "RIFF" at offset 0 and "WAVE" at offset 8; MIDI is more than 4 bytes
// with "MThd" at offset 0; anything else is not music.

#include <cstdint>
#include <span>

namespace vellumry::sound {

enum class MusicKind { Wave, Midi, None };

MusicKind ClassifyMusic(std::span<const std::uint8_t> data);

}  // namespace vellumry::sound
