#pragma once

// The formats the wave-out stand-in plays: integer PCM of 8, 16, 24 or 32
// bits and IEEE float of 32 or 64 bits, plain or in WAVE_FORMAT_EXTENSIBLE
// form, interleaved, one to eight channels. A format is accepted only when
// its block alignment is channels × bytes per sample; the average byte rate
// is not trusted, it is computed.

#include <cstdint>
#include <optional>

#include "platform/sound/MmSystem.h"

namespace vellumry::mm {

enum class SampleKind { UnsignedInteger, SignedInteger, Float };

struct WaveFormat {
    SampleKind kind = SampleKind::SignedInteger;
    unsigned bitsPerSample = 16;
    unsigned channels = 2;
    unsigned samplesPerSecond = 48000;
    unsigned blockAlign = 4;

    std::uint64_t BytesPerSecond() const { return std::uint64_t{samplesPerSecond} * blockAlign; }
};

// Reads cbSize, and the extension after it, only for formats other than PCM.
std::optional<WaveFormat> CheckWaveFormat(const WAVEFORMATEX& format);

}  // namespace vellumry::mm
