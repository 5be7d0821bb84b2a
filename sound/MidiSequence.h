#pragma once

// A standard MIDI file turned into MIDI stream events.
//
// Load reads the header ("MThd", a header length of exactly 6, then format,
// track count and division as big-endian 16-bit values) and the track table:
// from offset 14 each track must start with "MTrk" and a big-endian 32-bit
// length that stays inside the data; a track of length 0 is finished from
// the start, any other must begin with a readable delta time. Anything else
// refuses the file.
//
// Fill writes the next events, in time order across all tracks (the earlier
// track first on a tie), as MIDIEVENT records: channel messages as short
// events, tempo meta events as tempo events, system-exclusive events as long
// events (0xF0 and the bytes; one that cannot fit an empty buffer is
// skipped). Other meta events play nothing, but their time counts: the next
// event's delta spans it. A delta beyond 32 bits is made of no-operation
// events. A track ends at its end-of-track event, at the end of its bytes or
// at anything MidiTrackEvents.h does not accept. When every track has ended,
// a no-operation event carries the time to the latest track end, so a loop
// keeps the length of the piece; with `loop` the events then start again from
// the first (after a tempo event back to 500000 microseconds a quarter note,
// the standard's starting tempo, when the piece changed it), unless the piece
// takes no time at all (it would repeat endlessly in no time), which ends it
// like a piece without loop.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vellumry::sound {

class MidiSequence {
public:
    // The sequence reads the tracks where they lie: `data` must outlive it.
    static std::optional<MidiSequence> Load(std::span<const std::uint8_t> data);

    std::uint16_t Format() const { return m_format; }
    std::size_t TrackCount() const { return m_tracks.size(); }
    std::uint16_t Division() const { return m_division; }

    // Fills the start of `buffer` with whole event records; returns the bytes
    // written (a multiple of 4, 0 once the piece has ended).
    std::size_t Fill(std::span<std::uint8_t> buffer, bool loop);
    bool Ended() const { return m_ended; }
    // Back to the first events.
    void Rewind();

private:
    struct Track {
        std::span<const std::uint8_t> bytes;
        std::size_t position = 0;
        std::uint64_t nextTime = 0;  // of its next event, in ticks from the start
        std::uint8_t runningStatus = 0;
        bool finished = false;
    };

    Track* Earliest();
    void ReadDelta(Track& track);
    void Finish(Track& track);

    std::uint16_t m_format = 0;
    std::uint16_t m_division = 0;
    std::vector<Track> m_tracks;
    std::uint64_t m_emittedTime = 0;  // of the last event written
    std::uint64_t m_endTime = 0;      // the latest end of a finished track
    bool m_tempoChanged = false;
    bool m_ended = false;
};

}  // namespace vellumry::sound
