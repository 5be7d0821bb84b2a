#pragma once

// A standard MIDI file played from memory through a MIDI stream.
//
// Load stops and forgets what the player held, reads the file (MidiSequence.h),
// opens a stream on the MIDI mapper with the file's time division and queues
// two 1024-byte buffers of stream events, paused. Play starts the stream
// (a player that has played before stops and opens its stream again first,
// so it starts from the beginning). Each buffer the stream hands back while
// playing is counted in the played total, filled with the next events and
// queued again, the two buffers alternating; once the events have run out
// and both buffers are back the player stops the stream and is done. With
// loop the events start again from the first after the last.
//
// Stop: midiStreamStop and midiOutReset (a failure of either is recorded and
// ends the stop there), then a wait of at most 2000 ms for both buffers to
// come back (otherwise the player is marked as timed out), then the buffers
// are released and the stream closed. Once Stop or the destructor returned,
// no stream callback reaches the player.
//
// Failures of the stream functions go to the player's error record
// (LastError); this program shows no message for them. One thread at a time
// may call Load, Play and Stop; the stream's callback runs on its own thread.

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/sound/MmSystem.h"
#include "sound/MidiSequence.h"
#include "sound/MusicBytes.h"
#include "sound/private/Signals.h"

namespace vellumry::sound {

inline constexpr std::size_t kMidiBufferSize = 1024;
inline constexpr std::chrono::milliseconds kMidiStopWait{2000};

class MidiPlayer {
public:
    enum class State { Idle, Playing, Stopping, Ending, Done };

    MidiPlayer() = default;
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // False when the data is no MIDI file this player reads or the stream
    // does not open.
    bool Load(MusicBytes music, bool loop);
    // False when nothing is loaded or the stream does not start.
    bool Play();
    void Stop();

    State CurrentState() const;
    bool TimedOut() const;
    MMRESULT LastError() const;
    std::uint64_t PlayedTotal() const;

private:
    struct StreamBuffer {
        MIDIHDR header{};
        alignas(4) std::array<std::uint8_t, kMidiBufferSize> bytes{};
    };

    static void StreamCallback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter, DWORD_PTR);
    bool OpenStream();
    void CloseStream();
    // Fills buffer `index` and queues it; false when no events were left.
    bool Queue(std::size_t index);
    void BufferReturned(MIDIHDR* header);
    void Report(MMRESULT result);

    MusicBytes m_music;
    std::optional<MidiSequence> m_sequence;
    bool m_loop = false;
    HMIDISTRM m_stream = nullptr;
    std::array<StreamBuffer, 2> m_buffers;

    // Guards what the stream's callback touches.
    mutable std::mutex m_lock;
    int m_buffersBack = 2;        // buffers not queued on the stream
    std::uint64_t m_playedTotal = 0;
    State m_state = State::Idle;
    DoneSignal m_done;
    bool m_timedOut = false;
    MMRESULT m_lastError = MMSYSERR_NOERROR;
};

}  // namespace vellumry::sound
