#include "sound/MidiSequence.h"

#include <algorithm>
#include <cstring>

#include "platform/sound/MmSystem.h"
#include "sound/MidiTrackEvents.h"

namespace vellumry::sound {
namespace {

constexpr std::size_t kHeaderSize = 14;
constexpr std::uint32_t kHeaderLength = 6;
constexpr std::size_t kTrackHeaderSize = 8;
constexpr std::uint64_t kLongestDelta = 0xFFFFFFFF;
constexpr DWORD kStartingTempo = 500000;

std::uint32_t BigEndian32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

std::uint16_t BigEndian16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

std::size_t Padded(std::size_t size)
{
    return (size + 3) & ~std::size_t{3};
}

// Writes one event record at `written` when it fits.
class EventWriter {
public:
    explicit EventWriter(std::span<std::uint8_t> buffer) : m_buffer(buffer) {}

    std::size_t Written() const { return m_written; }

    bool Short(std::uint64_t delta, BYTE type, DWORD parameter)
    {
        if (m_buffer.size() - m_written < kShortMidiEventSize)
            return false;
        Put(delta, MidiEventCode(type, parameter));
        return true;
    }

    // A long message of `prefix` (when not 0) and `bytes`.
    bool Long(std::uint64_t delta, std::uint8_t prefix, std::span<const std::uint8_t> bytes)
    {
        std::size_t length = bytes.size() + (prefix ? 1 : 0);
        std::size_t size = kShortMidiEventSize + Padded(length);
        if (m_buffer.size() - m_written < size)
            return false;
        std::uint8_t* at = m_buffer.data() + m_written;
        Put(delta, MEVT_F_LONG | MidiEventCode(MEVT_LONGMSG, static_cast<DWORD>(length)));
        std::uint8_t* parameters = at + kShortMidiEventSize;
        if (prefix)
            *parameters++ = prefix;
        std::memcpy(parameters, bytes.data(), bytes.size());
        std::memset(parameters + bytes.size(), 0, Padded(length) - length);
        m_written = at - m_buffer.data() + size;
        return true;
    }

    // Whether a long message of `length` bytes could ever fit the buffer.
    bool LongFitsEmpty(std::size_t length) const { return kShortMidiEventSize + Padded(length) <= m_buffer.size(); }

private:
    void Put(std::uint64_t delta, DWORD code)
    {
        DWORD fields[3] = {static_cast<DWORD>(delta), 0, code};
        std::memcpy(m_buffer.data() + m_written, fields, sizeof fields);
        m_written += kShortMidiEventSize;
    }

    std::span<std::uint8_t> m_buffer;
    std::size_t m_written = 0;
};

DWORD PackMessage(const TrackEvent& event)
{
    return DWORD{event.message[0]} | DWORD{event.message[1]} << 8 | DWORD{event.message[2]} << 16;
}

}  // namespace

std::optional<MidiSequence> MidiSequence::Load(std::span<const std::uint8_t> data)
{
    if (data.size() < kHeaderSize || std::memcmp(data.data(), "MThd", 4) != 0 ||
        BigEndian32(data.data() + 4) != kHeaderLength)
        return std::nullopt;
    MidiSequence sequence;
    sequence.m_format = BigEndian16(data.data() + 8);
    std::size_t count = BigEndian16(data.data() + 10);
    sequence.m_division = BigEndian16(data.data() + 12);
    // Every track needs at least its header, so a count that the bytes
    // cannot hold is refused before the table is made.
    if (count > (data.size() - kHeaderSize) / kTrackHeaderSize)
        return std::nullopt;
    sequence.m_tracks.resize(count);
    std::size_t at = kHeaderSize;
    for (Track& track : sequence.m_tracks) {
        if (data.size() - at < kTrackHeaderSize || std::memcmp(data.data() + at, "MTrk", 4) != 0)
            return std::nullopt;
        std::uint32_t length = BigEndian32(data.data() + at + 4);
        at += kTrackHeaderSize;
        if (length > data.size() - at)
            return std::nullopt;
        track.bytes = data.subspan(at, length);
        at += length;
        if (length > 0 && !ReadVariableLength(track.bytes, track.position))
            return std::nullopt;
    }
    sequence.Rewind();
    return sequence;
}

void MidiSequence::Rewind()
{
    for (Track& track : m_tracks) {
        track.position = 0;
        track.nextTime = 0;
        track.runningStatus = 0;
        track.finished = track.bytes.empty();
        if (!track.finished)
            ReadDelta(track);
    }
    m_emittedTime = 0;
    m_endTime = 0;
    m_tempoChanged = false;
    m_ended = false;
}

MidiSequence::Track* MidiSequence::Earliest()
{
    Track* earliest = nullptr;
    for (Track& track : m_tracks)
        if (!track.finished && (!earliest || track.nextTime < earliest->nextTime))
            earliest = &track;
    return earliest;
}

void MidiSequence::ReadDelta(Track& track)
{
    auto delta = ReadVariableLength(track.bytes, track.position);
    if (!delta) {
        Finish(track);
        return;
    }
    track.nextTime += *delta;
}

void MidiSequence::Finish(Track& track)
{
    track.finished = true;
    m_endTime = std::max(m_endTime, track.nextTime);
}

std::size_t MidiSequence::Fill(std::span<std::uint8_t> buffer, bool loop)
{
    EventWriter writer(buffer);
    while (!m_ended) {
        Track* track = Earliest();
        if (!track) {
            if (m_endTime > m_emittedTime) {
                std::uint64_t delta = std::min(m_endTime - m_emittedTime, kLongestDelta);
                if (!writer.Short(delta, MEVT_NOP, 0))
                    break;
                m_emittedTime += delta;
                continue;
            }
            if (!loop || m_endTime == 0) {
                m_ended = true;
                break;
            }
            if (m_tempoChanged && !writer.Short(0, MEVT_TEMPO, kStartingTempo))
                break;
            Rewind();
            continue;
        }
        std::uint64_t delta = track->nextTime - m_emittedTime;
        if (delta > kLongestDelta) {
            if (!writer.Short(kLongestDelta, MEVT_NOP, 0))
                break;
            m_emittedTime += kLongestDelta;
            continue;
        }
        std::size_t position = track->position;
        std::uint8_t runningStatus = track->runningStatus;
        auto event = ReadTrackEvent(track->bytes, position, runningStatus);
        if (!event) {
            Finish(*track);
            continue;
        }
        bool written = true;
        bool emitted = true;
        switch (event->kind) {
        case TrackEvent::Kind::Channel:
            written = writer.Short(delta, MEVT_SHORTMSG, PackMessage(*event));
            break;
        case TrackEvent::Kind::Tempo:
            written = writer.Short(delta, MEVT_TEMPO, event->tempo);
            m_tempoChanged = m_tempoChanged || written;
            break;
        case TrackEvent::Kind::SystemExclusive:
        case TrackEvent::Kind::Escape: {
            bool exclusive = event->kind == TrackEvent::Kind::SystemExclusive;
            std::size_t length = event->bytes.size() + (exclusive ? 1 : 0);
            emitted = length > 0 && writer.LongFitsEmpty(length);
            if (emitted)
                written = writer.Long(delta, exclusive ? 0xF0 : 0, event->bytes);
            break;
        }
        case TrackEvent::Kind::Other:
        case TrackEvent::Kind::EndOfTrack:
            emitted = false;
            break;
        }
        if (!written)
            break;  // the buffer is full; the event waits for the next one
        if (emitted)
            m_emittedTime = track->nextTime;
        track->position = position;
        track->runningStatus = runningStatus;
        if (event->kind == TrackEvent::Kind::EndOfTrack || track->position >= track->bytes.size())
            Finish(*track);
        else
            ReadDelta(*track);
    }
    return writer.Written();
}

}  // namespace vellumry::sound
