#include "platform/sound/private/WaveFormat.h"

#include <cstring>

namespace vellumry::mm {
namespace {

constexpr unsigned kMaxChannels = 8;
constexpr WORD kExtensibleExtraSize = 22;

// WAVEFORMATEXTENSIBLE after cbSize: valid bits (2), channel mask (4), then
// the sub-format GUID whose first four bytes are the format code and whose
// remaining twelve are the fixed KSDATAFORMAT suffix.
constexpr std::size_t kSubFormatOffset = sizeof(WAVEFORMATEX) + 6;
constexpr std::uint8_t kSubFormatSuffix[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::optional<SampleKind> KindOf(WORD tag, unsigned bits)
{
    if (tag == WAVE_FORMAT_PCM) {
        if (bits == 8)
            return SampleKind::UnsignedInteger;
        if (bits == 16 || bits == 24 || bits == 32)
            return SampleKind::SignedInteger;
    }
    if (tag == WAVE_FORMAT_IEEE_FLOAT && (bits == 32 || bits == 64))
        return SampleKind::Float;
    return std::nullopt;
}

}  // namespace

std::optional<WaveFormat> CheckWaveFormat(const WAVEFORMATEX& format)
{
    WORD tag = format.wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (format.cbSize < kExtensibleExtraSize)
            return std::nullopt;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&format);
        DWORD code = 0;
        std::memcpy(&code, bytes + kSubFormatOffset, sizeof code);
        if (code > 0xFFFF || std::memcmp(bytes + kSubFormatOffset + 4, kSubFormatSuffix, sizeof kSubFormatSuffix) != 0)
            return std::nullopt;
        tag = static_cast<WORD>(code);
    }
    auto kind = KindOf(tag, format.wBitsPerSample);
    if (!kind || format.nChannels == 0 || format.nChannels > kMaxChannels || format.nSamplesPerSec == 0)
        return std::nullopt;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return std::nullopt;
    WaveFormat checked;
    checked.kind = *kind;
    checked.bitsPerSample = format.wBitsPerSample;
    checked.channels = format.nChannels;
    checked.samplesPerSecond = format.nSamplesPerSec;
    checked.blockAlign = format.nBlockAlign;
    return checked;
}

}  // namespace vellumry::mm
