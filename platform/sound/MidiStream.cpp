// MIDI stream output as the Windows multimedia documentation describes it
// (see MidiStream.h): an open stream owns a thread that plays the events of
// its queued buffers at their time and returns each buffer when its last
// event has played.

#include "platform/sound/MidiStream.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "platform/sound/SoundDevices.h"
#include "platform/sound/private/HandleRegistry.h"
#include "platform/sound/private/OutputDevice.h"
#include "platform/sound/private/MidiBackend.h"

namespace vellumry::mm {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kDefaultTimeDivision = 96;
constexpr DWORD kDefaultTempo = 500000;
constexpr DWORD kSmpteDivision = 0x8000;
constexpr int kChannels = 16;
constexpr BYTE kAllNotesOff = 123;
// The longest single wait; a longer delta is waited for in several.
constexpr double kLongestWaitMicroseconds = 3600e6;

bool TimeDivisionValid(DWORD division)
{
    if (division > 0xFFFF)
        return false;
    if (!(division & kSmpteDivision))
        return division != 0;
    int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
    bool knownRate = framesPerSecond == 24 || framesPerSecond == 25 || framesPerSecond == 29 || framesPerSecond == 30;
    return knownRate && (division & 0xFF) != 0;
}

// The length of a short message from its status byte; 0 when it is none.
std::size_t ShortMessageLength(BYTE status)
{
    if (status < 0x80 || status == 0xF0 || status == 0xF7)
        return 0;
    if (status < 0xF0) {
        BYTE kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    if (status == 0xF2)
        return 3;
    return status == 0xF1 || status == 0xF3 ? 2 : 1;
}

struct StreamEvent {
    DWORD delta = 0;
    DWORD code = 0;
    std::span<const std::uint8_t> parameters;  // of a long event
    std::size_t size = 0;                      // of the record in the buffer
};

// The event record at `offset` of a stream buffer, when a whole one is there.
bool ReadEvent(const MIDIHDR& header, std::size_t offset, StreamEvent& event)
{
    std::size_t used = header.dwBytesRecorded;
    if (offset > used || used - offset < kShortMidiEventSize)
        return false;
    const auto* at = reinterpret_cast<const std::uint8_t*>(header.lpData) + offset;
    std::memcpy(&event.delta, at, sizeof(DWORD));
    std::memcpy(&event.code, at + 2 * sizeof(DWORD), sizeof(DWORD));
    event.size = kShortMidiEventSize;
    event.parameters = {};
    if (event.code & MEVT_F_LONG) {
        std::size_t length = MEVT_EVENTPARM(event.code);
        std::size_t padded = (length + 3) & ~std::size_t{3};
        if (used - offset - kShortMidiEventSize < padded)
            return false;
        event.parameters = {at + kShortMidiEventSize, length};
        event.size += padded;
    }
    return true;
}

class MidiStreamDevice : public OutputDevice<HMIDIOUT> {
public:
    MidiStreamDevice(MidiOutProc callback, DWORD_PTR instance) : OutputDevice(callback, instance) {}

    ~MidiStreamDevice() { StopThread(); }

    bool Start(HMIDISTRM handle, std::unique_ptr<MidiBackend> backend)
    {
        m_backend = std::move(backend);
        return StartThread(reinterpret_cast<HMIDIOUT>(handle), [this] { Run(); });
    }

    // Header flags change under the stream's lock, which the device thread
    // holds when it marks a buffer done.
    MMRESULT Prepare(MIDIHDR& header)
    {
        std::lock_guard lock(m_lock);
        header.dwFlags |= MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Unprepare(MIDIHDR& header)
    {
        std::lock_guard lock(m_lock);
        if (header.dwFlags & MHDR_INQUEUE)
            return MIDIERR_STILLPLAYING;
        header.dwFlags &= ~MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Property(BYTE* data, DWORD property)
    {
        bool set = property & MIDIPROP_SET;
        bool get = property & MIDIPROP_GET;
        DWORD which = property & ~(MIDIPROP_SET | MIDIPROP_GET);
        if (set == get || (which != MIDIPROP_TIMEDIV && which != MIDIPROP_TEMPO))
            return MMSYSERR_INVALFLAG;
        if (!data)
            return MMSYSERR_INVALPARAM;
        // Both property records are a size followed by one value.
        DWORD size = 0;
        std::memcpy(&size, data, sizeof size);
        if (size < sizeof(MIDIPROPTEMPO))
            return MMSYSERR_INVALPARAM;
        BYTE* value = data + offsetof(MIDIPROPTEMPO, dwTempo);
        std::lock_guard lock(m_lock);
        DWORD& target = which == MIDIPROP_TIMEDIV ? m_timeDivision : m_tempo;
        if (get) {
            std::memcpy(value, &target, sizeof target);
            return MMSYSERR_NOERROR;
        }
        DWORD wanted = 0;
        std::memcpy(&wanted, value, sizeof wanted);
        if (which == MIDIPROP_TIMEDIV ? !TimeDivisionValid(wanted) : wanted == 0)
            return MMSYSERR_INVALPARAM;
        target = wanted;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Out(MIDIHDR& header)
    {
        std::lock_guard lock(m_lock);
        if (m_closing)
            return MMSYSERR_INVALHANDLE;
        if (!(header.dwFlags & MHDR_PREPARED))
            return MIDIERR_UNPREPARED;
        if (header.dwFlags & MHDR_INQUEUE)
            return MIDIERR_STILLPLAYING;
        if (header.dwBytesRecorded > header.dwBufferLength || header.dwBytesRecorded % 4 != 0)
            return MMSYSERR_INVALPARAM;
        header.dwFlags = (header.dwFlags & ~MHDR_DONE) | MHDR_INQUEUE | MHDR_ISSTRM;
        m_queue.push_back(&header);
        m_wakeUp.notify_all();
        return MMSYSERR_NOERROR;
    }

    MMRESULT Restart()
    {
        std::lock_guard lock(m_lock);
        if (m_paused) {
            m_paused = false;
            m_waiting = false;
            m_lastDue = Clock::now();
            m_wakeUp.notify_all();
        }
        return MMSYSERR_NOERROR;
    }

    // midiStreamStop, and with `allNotes` midiOutReset.
    MMRESULT Stop(bool allNotes)
    {
        std::vector<MIDIHDR*> returned;
        {
            std::lock_guard lock(m_lock);
            m_paused = true;
            m_waiting = false;
            m_offset = 0;
            m_streamMicroseconds = 0;
            returned.assign(m_queue.begin(), m_queue.end());
            m_queue.clear();
            for (MIDIHDR* header : returned)
                MarkDone(*header);
            SilenceNotes(allNotes);
            m_wakeUp.notify_all();
        }
        for (MIDIHDR* header : returned)
            Notify(MOM_DONE, reinterpret_cast<DWORD_PTR>(header));
        return MMSYSERR_NOERROR;
    }

    MMRESULT Close()
    {
        if (MMRESULT result = BeginClose([this] { return !m_queue.empty(); }, MIDIERR_STILLPLAYING))
            return result;
        StopThread();
        {
            std::lock_guard lock(m_lock);
            SilenceNotes(false);
        }
        m_backend.reset();
        Notify(MOM_CLOSE, 0);
        return MMSYSERR_NOERROR;
    }

private:
    static void MarkDone(MIDIHDR& header) { header.dwFlags = (header.dwFlags & ~MHDR_INQUEUE) | MHDR_DONE; }

    double Microseconds(DWORD ticks) const
    {
        if (m_timeDivision & kSmpteDivision) {
            int framesPerSecond = -static_cast<std::int8_t>(m_timeDivision >> 8);
            double rate = framesPerSecond == 29 ? 29.97 : framesPerSecond;
            return ticks * 1e6 / (rate * (m_timeDivision & 0xFF));
        }
        return static_cast<double>(ticks) * m_tempo / m_timeDivision;
    }

    void Run()
    {
        std::unique_lock lock(m_lock);
        while (!m_closing) {
            if (m_paused || m_queue.empty()) {
                m_wakeUp.wait(lock);
                continue;
            }
            MIDIHDR& header = *m_queue.front();
            StreamEvent event;
            if (!ReadEvent(header, m_offset, event)) {
                m_queue.pop_front();
                m_offset = 0;
                MarkDone(header);
                lock.unlock();
                Notify(MOM_DONE, reinterpret_cast<DWORD_PTR>(&header));
                lock.lock();
                continue;
            }
            double speed = m_backend->Speed();
            if (!m_waiting) {
                m_waitMicroseconds = Microseconds(event.delta);
                m_waiting = true;
            }
            if (speed > 0 && m_waitMicroseconds > 0) {
                double realMicroseconds = std::min(m_waitMicroseconds / speed, kLongestWaitMicroseconds);
                auto due = m_lastDue + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double, std::micro>(realMicroseconds));
                if (Clock::now() < due) {
                    m_wakeUp.wait_until(lock, due);
                    continue;  // the stream may have been stopped meanwhile
                }
                m_lastDue = due;
                m_streamMicroseconds += realMicroseconds * speed;
                m_waitMicroseconds -= realMicroseconds * speed;
                if (m_waitMicroseconds > 1e-3)
                    continue;  // a delta longer than one wait
            } else {
                m_streamMicroseconds += m_waitMicroseconds;
                m_lastDue = Clock::now();
            }
            m_waiting = false;
            std::size_t at = m_offset;
            m_offset += event.size;
            Play(event);
            if (event.code & MEVT_F_CALLBACK) {
                header.dwOffset = static_cast<DWORD>(at);
                lock.unlock();
                Notify(MOM_POSITIONCB, reinterpret_cast<DWORD_PTR>(&header));
                lock.lock();
            }
        }
    }

    void Play(const StreamEvent& event)
    {
        DWORD parameter = MEVT_EVENTPARM(event.code);
        switch (MEVT_EVENTTYPE(event.code) & ~(MEVT_F_CALLBACK >> 24)) {
        case MEVT_SHORTMSG: {
            std::array<std::uint8_t, 3> message = {static_cast<std::uint8_t>(parameter),
                                                   static_cast<std::uint8_t>(parameter >> 8),
                                                   static_cast<std::uint8_t>(parameter >> 16)};
            if (std::size_t length = ShortMessageLength(message[0]))
                Send(std::span(message).first(length));
            break;
        }
        case MEVT_TEMPO:
            if (parameter != 0)
                m_tempo = parameter;
            break;
        case MEVT_LONGMSG:
            if (!event.parameters.empty())
                Send(event.parameters);
            break;
        default:  // MEVT_NOP, comments, versions
            break;
        }
    }

    void Send(std::span<const std::uint8_t> message)
    {
        BYTE kind = message[0] & 0xF0;
        if (message.size() == 3 && (kind == 0x80 || kind == 0x90)) {
            bool on = kind == 0x90 && message[2] != 0;
            m_notes[message[0] & 0x0F].set(message[1] & 0x7F, on);
        }
        m_backend->Send(message, m_streamMicroseconds);
    }

    // Turns off the notes this stream turned on, and with `allNotes` every
    // note of every channel.
    void SilenceNotes(bool allNotes)
    {
        for (int channel = 0; channel < kChannels; ++channel) {
            for (int note = 0; note < 128; ++note) {
                if (m_notes[channel].test(note)) {
                    std::array<std::uint8_t, 3> off = {static_cast<std::uint8_t>(0x80 | channel),
                                                       static_cast<std::uint8_t>(note), 0};
                    m_backend->Send(off, m_streamMicroseconds);
                }
            }
            m_notes[channel].reset();
            if (allNotes) {
                std::array<std::uint8_t, 3> controller = {static_cast<std::uint8_t>(0xB0 | channel), kAllNotesOff, 0};
                m_backend->Send(controller, m_streamMicroseconds);
            }
        }
    }

    std::unique_ptr<MidiBackend> m_backend;
    bool m_paused = true;
    std::deque<MIDIHDR*> m_queue;
    std::size_t m_offset = 0;  // of the next event in the first queued buffer
    DWORD m_timeDivision = kDefaultTimeDivision;
    DWORD m_tempo = kDefaultTempo;
    bool m_waiting = false;          // the next event's delta is being waited for
    double m_waitMicroseconds = 0;   // stream time still to wait before it
    double m_streamMicroseconds = 0;
    Clock::time_point m_lastDue = Clock::now();
    std::array<std::bitset<128>, kChannels> m_notes;
};

// Never destroyed: a player may still close its stream while the process
// exits.
HandleRegistry<MidiStreamDevice, HMIDISTRM>& Streams()
{
    static auto* streams = new HandleRegistry<MidiStreamDevice, HMIDISTRM>;
    return *streams;
}

// midiOut* functions reach a stream through its handle cast to HMIDIOUT.
HMIDISTRM StreamHandle(HMIDIOUT device)
{
    return reinterpret_cast<HMIDISTRM>(device);
}

bool HeaderArgumentsValid(const MIDIHDR* header, UINT headerSize)
{
    return header && headerSize >= sizeof(MIDIHDR) && header->lpData && header->dwBufferLength <= kMaxMidiStreamBuffer;
}

MMRESULT OpenBackend(std::unique_ptr<MidiBackend>& backend)
{
    switch (SelectedSoundDevices()) {
    case SoundDevices::System:
        return OpenAlsaSequencer(backend);
    case SoundDevices::Null:
        backend = OpenNullMidi();
        return MMSYSERR_NOERROR;
    case SoundDevices::None:
        break;
    }
    return MMSYSERR_NODRIVER;
}

}  // namespace
}  // namespace vellumry::mm

using namespace vellumry::mm;

MMRESULT midiStreamOpen(LPHMIDISTRM stream, UINT* deviceId, DWORD streamCount, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags)
{
    DWORD callbackKind = flags & CALLBACK_TYPEMASK;
    if ((callbackKind != CALLBACK_NULL && callbackKind != CALLBACK_FUNCTION) || (flags & ~CALLBACK_TYPEMASK) != 0)
        return MMSYSERR_INVALFLAG;
    if (!stream || !deviceId || streamCount != 1)
        return MMSYSERR_INVALPARAM;
    if (*deviceId != MIDI_MAPPER && *deviceId != 0)
        return MMSYSERR_BADDEVICEID;
    std::unique_ptr<MidiBackend> backend;
    if (MMRESULT result = OpenBackend(backend); result != MMSYSERR_NOERROR)
        return result;
    auto opened = std::make_shared<MidiStreamDevice>(
        callbackKind == CALLBACK_FUNCTION ? reinterpret_cast<MidiOutProc>(callback) : nullptr, instance);
    HMIDISTRM handle = Streams().Insert(opened);
    if (!opened->Start(handle, std::move(backend))) {
        Streams().Remove(handle);
        return MMSYSERR_NOMEM;
    }
    *stream = handle;
    opened->Notify(MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamProperty(HMIDISTRM stream, BYTE* propertyData, DWORD property)
{
    return Streams().With(stream, [&](MidiStreamDevice& found) { return found.Property(propertyData, property); });
}

MMRESULT midiOutPrepareHeader(HMIDIOUT device, LPMIDIHDR header, UINT headerSize)
{
    return Streams().With(StreamHandle(device), [&](MidiStreamDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Prepare(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT midiOutUnprepareHeader(HMIDIOUT device, LPMIDIHDR header, UINT headerSize)
{
    return Streams().With(StreamHandle(device), [&](MidiStreamDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Unprepare(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT midiStreamOut(HMIDISTRM stream, LPMIDIHDR header, UINT headerSize)
{
    return Streams().With(stream, [&](MidiStreamDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Out(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT midiStreamRestart(HMIDISTRM stream)
{
    return Streams().With(stream, [](MidiStreamDevice& found) { return found.Restart(); });
}

MMRESULT midiStreamStop(HMIDISTRM stream)
{
    return Streams().With(stream, [](MidiStreamDevice& found) { return found.Stop(false); });
}

MMRESULT midiOutReset(HMIDIOUT device)
{
    return Streams().With(StreamHandle(device), [](MidiStreamDevice& found) { return found.Stop(true); });
}

MMRESULT midiStreamClose(HMIDISTRM stream)
{
    MMRESULT result = Streams().With(stream, [](MidiStreamDevice& found) { return found.Close(); });
    if (result == MMSYSERR_NOERROR)
        Streams().Remove(stream);
    return result;
}
