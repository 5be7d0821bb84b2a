#pragma once

// Reading the events of one track of a standard MIDI file. A track is a
// sequence of (delta time, event): the delta a variable-length number of at
// most four bytes, seven bits each, high bit set on all but the last; the
// event a channel message (its status byte may be left out to repeat the
// previous channel message's status: running status), a system-exclusive
// event (0xF0 or 0xF7, a variable-length size, the bytes) or a meta event
// (0xFF, a type, a variable-length size, the bytes). System-exclusive and
// meta events end running status.
//
// Anything else ends the track where it stands: a number longer than four
// bytes, data that runs past the track's end, a data byte with no running
// status, a data byte of 0x80 or more inside a channel message, a system
// message other than 0xF0, 0xF7 and 0xFF.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vellumry::sound {

// A variable-length number at `position`; advances `position` past it.
std::optional<std::uint32_t> ReadVariableLength(std::span<const std::uint8_t> track, std::size_t& position);

struct TrackEvent {
    enum class Kind {
        Channel,       // `message` holds `length` bytes, status first
        Tempo,         // `tempo` microseconds per quarter note, never 0
        SystemExclusive,  // `bytes` after 0xF0 (sent with 0xF0 before them)
        Escape,        // `bytes` of a 0xF7 event, sent as they are
        Other,         // a meta event that plays nothing
        EndOfTrack,
    };
    Kind kind = Kind::Other;
    std::uint8_t message[3] = {};
    std::size_t length = 0;
    std::uint32_t tempo = 0;
    std::span<const std::uint8_t> bytes;
};

// The event at `position` (just after its delta time). On success advances
// `position` past it and updates `runningStatus`; nullopt ends the track.
std::optional<TrackEvent> ReadTrackEvent(std::span<const std::uint8_t> track, std::size_t& position,
                                         std::uint8_t& runningStatus);

}  // namespace vellumry::sound
