#include "sound/WaveLayout.h"

#include <algorithm>
#include <cstring>

namespace vellumry::sound {
namespace {

constexpr std::size_t kMinimumLength = 36;
constexpr std::size_t kFirstChunk = 12;
constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::size_t kExtendedFormatSize = 18;
constexpr std::uint16_t kPcm = 1;

std::uint32_t Word32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

std::uint16_t Word16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

bool IdIs(std::span<const std::uint8_t> data, std::size_t at, const char* id)
{
    return std::memcmp(data.data() + at, id, 4) == 0;
}

// Chunk identifiers are four printable characters.
bool PlausibleId(std::span<const std::uint8_t> data, std::size_t at)
{
    if (at + kChunkHeader > data.size())
        return false;
    return std::all_of(data.begin() + at, data.begin() + at + 4, [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
}

// The format's block alignment when the chunk describes a usable format.
std::optional<std::size_t> BlockAlignOf(std::span<const std::uint8_t> format)
{
    if (format.size() < kPcmFormatSize)
        return std::nullopt;
    std::uint16_t tag = Word16(format.data());
    std::uint16_t channels = Word16(format.data() + 2);
    std::uint32_t rate = Word32(format.data() + 4);
    std::uint16_t blockAlign = Word16(format.data() + 12);
    std::uint16_t bits = Word16(format.data() + 14);
    if (channels == 0 || rate == 0 || blockAlign == 0)
        return std::nullopt;
    if (tag == kPcm) {
        bool knownSize = bits == 8 || bits == 16 || bits == 24 || bits == 32;
        if (!knownSize || blockAlign != std::size_t{channels} * (bits / 8))
            return std::nullopt;
    } else {
        if (format.size() < kExtendedFormatSize ||
            format.size() - kExtendedFormatSize < Word16(format.data() + kPcmFormatSize))
            return std::nullopt;
    }
    return blockAlign;
}

}  // namespace

std::optional<WaveLayout> ParseWave(std::span<const std::uint8_t> data)
{
    if (data.size() < kMinimumLength || !IdIs(data, 0, "RIFF") || !IdIs(data, 8, "WAVE"))
        return std::nullopt;
    const std::uint64_t riffSize = Word32(data.data() + 4);

    std::optional<std::span<const std::uint8_t>> format;
    std::optional<std::span<const std::uint8_t>> samples;
    std::size_t at = kFirstChunk;
    while (at - kFirstChunk < riffSize && at + kChunkHeader <= data.size() && !(format && samples)) {
        const std::uint64_t size = Word32(data.data() + at + 4);
        const std::size_t body = at + kChunkHeader;
        const std::size_t left = data.size() - body;
        if (IdIs(data, at, "fmt ") && !format) {
            if (size > left)
                return std::nullopt;
            format = data.subspan(body, static_cast<std::size_t>(size));
        } else if (IdIs(data, at, "data") && !samples) {
            samples = data.subspan(body, static_cast<std::size_t>(std::min<std::uint64_t>(size, left)));
        }
        if (size > left)
            break;
        std::size_t next = body + static_cast<std::size_t>(size);
        if ((size & 1) && !PlausibleId(data, next) && PlausibleId(data, next + 1))
            ++next;
        at = next;
    }
    if (!format)
        return std::nullopt;
    auto blockAlign = BlockAlignOf(*format);
    if (!blockAlign || !samples)
        return std::nullopt;
    std::size_t whole = samples->size() - samples->size() % *blockAlign;
    if (whole == 0)
        return std::nullopt;
    return WaveLayout{*format, samples->first(whole)};
}

}  // namespace vellumry::sound
