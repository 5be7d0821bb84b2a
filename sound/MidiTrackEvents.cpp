#include "sound/MidiTrackEvents.h"

namespace vellumry::sound {
namespace {

constexpr std::size_t kLongestNumber = 4;
constexpr std::uint8_t kSystemExclusive = 0xF0;
constexpr std::uint8_t kEscape = 0xF7;
constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaTempo = 0x51;

std::size_t DataBytesOf(std::uint8_t status)
{
    std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// A variable-length size and that many bytes.
std::optional<std::span<const std::uint8_t>> ReadSized(std::span<const std::uint8_t> track, std::size_t& position)
{
    auto size = ReadVariableLength(track, position);
    if (!size || *size > track.size() - position)
        return std::nullopt;
    auto bytes = track.subspan(position, *size);
    position += *size;
    return bytes;
}

}  // namespace

std::optional<std::uint32_t> ReadVariableLength(std::span<const std::uint8_t> track, std::size_t& position)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < kLongestNumber; ++i) {
        if (position >= track.size())
            return std::nullopt;
        std::uint8_t byte = track[position++];
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

std::optional<TrackEvent> ReadTrackEvent(std::span<const std::uint8_t> track, std::size_t& position,
                                         std::uint8_t& runningStatus)
{
    if (position >= track.size())
        return std::nullopt;
    std::size_t at = position;
    std::uint8_t first = track[at];
    TrackEvent event;

    if (first == kMeta) {
        if (++at >= track.size())
            return std::nullopt;
        std::uint8_t type = track[at++];
        auto bytes = ReadSized(track, at);
        if (!bytes)
            return std::nullopt;
        runningStatus = 0;
        if (type == kMetaEndOfTrack) {
            event.kind = TrackEvent::Kind::EndOfTrack;
        } else if (type == kMetaTempo && bytes->size() >= 3) {
            std::uint32_t tempo = std::uint32_t{(*bytes)[0]} << 16 | std::uint32_t{(*bytes)[1]} << 8 | (*bytes)[2];
            // A tempo of 0 would make every later delta take no time at all.
            event.kind = tempo != 0 ? TrackEvent::Kind::Tempo : TrackEvent::Kind::Other;
            event.tempo = tempo;
        }
        position = at;
        return event;
    }
    if (first == kSystemExclusive || first == kEscape) {
        ++at;
        auto bytes = ReadSized(track, at);
        if (!bytes)
            return std::nullopt;
        runningStatus = 0;
        event.kind = first == kSystemExclusive ? TrackEvent::Kind::SystemExclusive : TrackEvent::Kind::Escape;
        event.bytes = *bytes;
        position = at;
        return event;
    }
    if (first >= 0xF0)
        return std::nullopt;  // a system message has no place in a track

    std::uint8_t status = runningStatus;
    if (first & 0x80) {
        status = first;
        ++at;
    } else if (status == 0) {
        return std::nullopt;
    }
    std::size_t dataBytes = DataBytesOf(status);
    if (track.size() - at < dataBytes)
        return std::nullopt;
    event.kind = TrackEvent::Kind::Channel;
    event.message[0] = status;
    for (std::size_t i = 0; i < dataBytes; ++i) {
        if (track[at + i] & 0x80)
            return std::nullopt;
        event.message[1 + i] = track[at + i];
    }
    event.length = 1 + dataBytes;
    runningStatus = status;
    position = at + dataBytes;
    return event;
}

}  // namespace vellumry::sound
