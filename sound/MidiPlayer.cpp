#include "sound/MidiPlayer.h"

#include "platform/sound/MidiStream.h"

namespace vellumry::sound {

MidiPlayer::~MidiPlayer()
{
    Stop();
    // A stop that failed part way still leaves no stream behind.
    CloseStream();
}

bool MidiPlayer::Load(MusicBytes music, bool loop)
{
    Stop();
    CloseStream();
    m_sequence.reset();
    m_music = {};
    auto sequence = MidiSequence::Load(music.bytes);
    if (!sequence)
        return false;
    m_music = std::move(music);
    m_sequence = std::move(sequence);
    m_loop = loop;
    {
        std::lock_guard lock(m_lock);
        m_timedOut = false;
    }
    if (OpenStream())
        return true;
    m_sequence.reset();
    m_music = {};
    return false;
}

bool MidiPlayer::OpenStream()
{
    UINT device = MIDI_MAPPER;
    HMIDISTRM stream = nullptr;
    MMRESULT result = midiStreamOpen(&stream, &device, 1, reinterpret_cast<DWORD_PTR>(&StreamCallback),
                                     reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        Report(result);
        return false;
    }
    MIDIPROPTIMEDIV division{sizeof(MIDIPROPTIMEDIV), m_sequence->Division()};
    result = midiStreamProperty(stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV);
    if (result != MMSYSERR_NOERROR) {
        Report(result);
        midiStreamClose(stream);
        return false;
    }
    std::lock_guard lock(m_lock);
    m_stream = stream;
    m_sequence->Rewind();
    m_buffersBack = static_cast<int>(m_buffers.size());
    m_playedTotal = 0;
    m_state = State::Idle;
    for (std::size_t i = 0; i < m_buffers.size(); ++i)
        if (!Queue(i))
            break;  // the music ends within the first buffer
    return true;
}

void MidiPlayer::CloseStream()
{
    HMIDISTRM stream;
    {
        std::lock_guard lock(m_lock);
        stream = m_stream;
    }
    if (!stream)
        return;
    auto unprepare = [&] {
        for (StreamBuffer& buffer : m_buffers)
            if (buffer.header.dwFlags & MHDR_PREPARED)
                midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(stream), &buffer.header, sizeof(MIDIHDR));
    };
    unprepare();
    if (midiStreamClose(stream) == MIDIERR_STILLPLAYING) {
        midiStreamStop(stream);
        unprepare();
        midiStreamClose(stream);
    }
    // The stream is gone: no callback runs any more.
    std::lock_guard lock(m_lock);
    m_stream = nullptr;
    m_state = State::Done;
}

bool MidiPlayer::Queue(std::size_t index)
{
    StreamBuffer& buffer = m_buffers[index];
    std::size_t filled = m_sequence->Fill(buffer.bytes, m_loop);
    if (filled == 0)
        return false;
    MIDIHDR& header = buffer.header;
    header.lpData = reinterpret_cast<LPSTR>(buffer.bytes.data());
    header.dwBufferLength = static_cast<DWORD>(buffer.bytes.size());
    header.dwBytesRecorded = static_cast<DWORD>(filled);
    MMRESULT result = MMSYSERR_NOERROR;
    auto device = reinterpret_cast<HMIDIOUT>(m_stream);
    if (!(header.dwFlags & MHDR_PREPARED))
        result = midiOutPrepareHeader(device, &header, sizeof header);
    if (result == MMSYSERR_NOERROR)
        result = midiStreamOut(m_stream, &header, sizeof header);
    if (result != MMSYSERR_NOERROR) {
        m_lastError = result;
        return false;
    }
    --m_buffersBack;
    return true;
}

bool MidiPlayer::Play()
{
    if (!m_sequence)
        return false;
    bool fresh;
    {
        std::lock_guard lock(m_lock);
        fresh = m_stream && m_state == State::Idle;
    }
    if (!fresh) {
        Stop();
        CloseStream();
        if (!OpenStream())
            return false;
    }
    HMIDISTRM stream;
    bool nothingQueued;
    {
        std::lock_guard lock(m_lock);
        stream = m_stream;
        nothingQueued = m_buffersBack == static_cast<int>(m_buffers.size());
        m_state = nothingQueued ? State::Done : State::Playing;
    }
    if (nothingQueued) {
        m_done.Set();
        return true;
    }
    MMRESULT result = midiStreamRestart(stream);
    if (result != MMSYSERR_NOERROR) {
        Report(result);
        std::lock_guard lock(m_lock);
        m_state = State::Idle;
        return false;
    }
    return true;
}

void MidiPlayer::Stop()
{
    HMIDISTRM stream;
    {
        std::lock_guard lock(m_lock);
        stream = m_stream;
        if (!stream)
            return;  // already stopped
        m_state = State::Stopping;
        if (m_buffersBack == static_cast<int>(m_buffers.size()))
            m_done.Set();
        else
            m_done.Reset();
    }
    MMRESULT result = midiStreamStop(stream);
    if (result == MMSYSERR_NOERROR)
        result = midiOutReset(reinterpret_cast<HMIDIOUT>(stream));
    if (result != MMSYSERR_NOERROR) {
        Report(result);
        return;
    }
    if (!m_done.WaitFor(kMidiStopWait)) {
        std::lock_guard lock(m_lock);
        m_timedOut = true;
    }
    CloseStream();
}

void MidiPlayer::StreamCallback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter, DWORD_PTR)
{
    if (message == MOM_DONE)
        reinterpret_cast<MidiPlayer*>(instance)->BufferReturned(reinterpret_cast<MIDIHDR*>(parameter));
}

void MidiPlayer::BufferReturned(MIDIHDR* header)
{
    HMIDISTRM stream = nullptr;
    {
        std::lock_guard lock(m_lock);
        ++m_buffersBack;
        if (m_state == State::Playing) {
            m_playedTotal += header->dwBytesRecorded;
            // The buffers come back in the order they were queued, so this
            // one is refilled while the other plays.
            Queue(header == &m_buffers[0].header ? 0 : 1);
            if (m_buffersBack == static_cast<int>(m_buffers.size())) {
                // The events have run out and both buffers are back.
                m_state = State::Ending;
                stream = m_stream;
            }
        } else if (m_state == State::Stopping && m_buffersBack == static_cast<int>(m_buffers.size())) {
            m_done.Set();
        }
    }
    if (!stream)
        return;
    midiStreamStop(stream);
    std::lock_guard lock(m_lock);
    if (m_state == State::Ending)
        m_state = State::Done;
    m_done.Set();
}

void MidiPlayer::Report(MMRESULT result)
{
    std::lock_guard lock(m_lock);
    m_lastError = result;
}

MidiPlayer::State MidiPlayer::CurrentState() const
{
    std::lock_guard lock(m_lock);
    return m_state;
}

bool MidiPlayer::TimedOut() const
{
    std::lock_guard lock(m_lock);
    return m_timedOut;
}

MMRESULT MidiPlayer::LastError() const
{
    std::lock_guard lock(m_lock);
    return m_lastError;
}

std::uint64_t MidiPlayer::PlayedTotal() const
{
    std::lock_guard lock(m_lock);
    return m_playedTotal;
}

}  // namespace vellumry::sound
