// The MIDI stream stand-in on the null MIDI output: timing by division and
// tempo, the buffer life cycle, stop and reset.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sound/MidiStream.h"
#include "platform/sound/NullMidiDevice.h"
#include "platform/sound/SoundDevices.h"
#include "tests/support/CaseTable.h"

namespace {

using namespace vellumry;
using vellumry::test::PrintTo;
using Bytes = std::vector<std::uint8_t>;

constexpr std::chrono::seconds kPatience{30};

struct Callbacks {
    std::mutex lock;
    std::vector<UINT> messages;
    std::vector<MIDIHDR*> done;

    static void Record(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR header, DWORD_PTR)
    {
        auto* self = reinterpret_cast<Callbacks*>(instance);
        std::lock_guard guard(self->lock);
        self->messages.push_back(message);
        if (message == MOM_DONE)
            self->done.push_back(reinterpret_cast<MIDIHDR*>(header));
    }
};

// A stream buffer built event by event.
struct StreamBuffer {
    std::vector<DWORD> words;
    MIDIHDR header{};

    StreamBuffer& Short(DWORD delta, DWORD message)
    {
        words.insert(words.end(), {delta, 0, MidiEventCode(MEVT_SHORTMSG, message)});
        return *this;
    }
    StreamBuffer& Tempo(DWORD delta, DWORD tempo)
    {
        words.insert(words.end(), {delta, 0, MidiEventCode(MEVT_TEMPO, tempo)});
        return *this;
    }
    StreamBuffer& Long(DWORD delta, const Bytes& bytes)
    {
        words.insert(words.end(), {delta, 0, MEVT_F_LONG | MidiEventCode(MEVT_LONGMSG, static_cast<DWORD>(bytes.size()))});
        std::size_t at = words.size();
        words.resize(at + (bytes.size() + 3) / 4);
        std::memcpy(words.data() + at, bytes.data(), bytes.size());
        return *this;
    }
    MIDIHDR* Header()
    {
        header.lpData = reinterpret_cast<LPSTR>(words.data());
        header.dwBufferLength = static_cast<DWORD>(words.size() * 4);
        header.dwBytesRecorded = header.dwBufferLength;
        return &header;
    }
};

struct Heard {
    Bytes bytes;
    double microseconds;
    bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& heard, std::ostream* out)
{
    *out << "{0x" << std::hex << int(heard.bytes[0]) << std::dec << " (" << heard.bytes.size() << " bytes) at "
         << heard.microseconds << "}";
}

std::vector<Heard> HeardMessages()
{
    std::vector<Heard> heard;
    for (const auto& message : mm::NullMidiSnapshot().messages)
        heard.push_back({message.bytes, message.microseconds});
    return heard;
}

class MidiStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        mm::SelectSoundDevices(mm::SoundDevices::Null);
        mm::SetNullMidiSpeed(0);
        mm::ResetNullMidiRecord();
        UINT device = MIDI_MAPPER;
        ASSERT_EQ(midiStreamOpen(&m_stream, &device, 1, reinterpret_cast<DWORD_PTR>(&Callbacks::Record),
                                 reinterpret_cast<DWORD_PTR>(&m_callbacks), CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
    }

    void TearDown() override
    {
        if (m_stream) {
            EXPECT_EQ(midiStreamStop(m_stream), MMSYSERR_NOERROR);
            EXPECT_EQ(midiStreamClose(m_stream), MMSYSERR_NOERROR);
        }
        mm::SetNullMidiSpeed(1);
    }

    MMRESULT SetProperty(DWORD which, DWORD value)
    {
        MIDIPROPTEMPO property{sizeof property, value};
        return midiStreamProperty(m_stream, reinterpret_cast<BYTE*>(&property), MIDIPROP_SET | which);
    }

    void Queue(StreamBuffer& buffer)
    {
        MIDIHDR* header = buffer.Header();
        ASSERT_EQ(midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(m_stream), header, sizeof(MIDIHDR)),
                  MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamOut(m_stream, header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    }

    bool DoneReaches(std::size_t count)
    {
        auto deadline = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            {
                std::lock_guard guard(m_callbacks.lock);
                if (m_callbacks.done.size() >= count)
                    return true;
            }
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    HMIDISTRM m_stream = nullptr;
    Callbacks m_callbacks;
};

TEST_F(MidiStream, PlaysEventsAtTheirTimesOnceRestarted)
{
    ASSERT_EQ(SetProperty(MIDIPROP_TIMEDIV, 480), MMSYSERR_NOERROR);
    StreamBuffer first;
    first.Short(0, 0x643C90).Short(480, 0x003C80).Tempo(0, 250000);
    StreamBuffer second;
    second.Short(480, 0x5A3E90).Long(240, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    Queue(first);
    Queue(second);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(mm::NullMidiSnapshot().messageCount, 0u) << "a stream opens paused";

    ASSERT_EQ(midiStreamRestart(m_stream), MMSYSERR_NOERROR);
    ASSERT_TRUE(DoneReaches(2));
    EXPECT_THAT(HeardMessages(), ::testing::ElementsAre(Heard{{0x90, 0x3C, 0x64}, 0}, Heard{{0x80, 0x3C, 0}, 500000},
                                                        Heard{{0x90, 0x3E, 0x5A}, 750000},
                                                        Heard{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, 875000}));
    EXPECT_EQ(m_callbacks.done, (std::vector<MIDIHDR*>{&first.header, &second.header}));
    EXPECT_EQ(first.header.dwFlags, MHDR_PREPARED | MHDR_ISSTRM | MHDR_DONE);
}

TEST_F(MidiStream, SmpteDivisionCountsFramesNotBeats)
{
    // 25 frames a second of 40 ticks: a tick is a millisecond, whatever the tempo.
    ASSERT_EQ(SetProperty(MIDIPROP_TIMEDIV, 0xE728), MMSYSERR_NOERROR);
    StreamBuffer buffer;
    buffer.Tempo(0, 100).Short(0, 0x013C90).Short(250, 0x003C80);
    Queue(buffer);
    midiStreamRestart(m_stream);
    ASSERT_TRUE(DoneReaches(1));
    EXPECT_THAT(HeardMessages(),
                ::testing::ElementsAre(Heard{{0x90, 0x3C, 1}, 0}, Heard{{0x80, 0x3C, 0}, 250000}));
}

TEST_F(MidiStream, StopReturnsQueuedBuffersAndSilencesNotesItTurnedOn)
{
    mm::SetNullMidiSpeed(1);
    StreamBuffer buffer;
    buffer.Short(0, 0x403C91).Short(0, 0x000A92).Short(0, 0x00008A).Short(96 * 1000, 0x003C81);
    StreamBuffer waiting;
    waiting.Short(0, 0x013C90);
    Queue(buffer);
    Queue(waiting);
    midiStreamRestart(m_stream);
    ASSERT_TRUE(mm::WaitForNullMidi([](const auto& r) { return r.messageCount == 3; }, kPatience));
    ASSERT_EQ(midiStreamStop(m_stream), MMSYSERR_NOERROR);
    EXPECT_EQ(m_callbacks.done, (std::vector<MIDIHDR*>{&buffer.header, &waiting.header})) << "before Stop returned";
    std::vector<Heard> heard = HeardMessages();
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[3].bytes, (Bytes{0x81, 0x3C, 0})) << "the note left on; a velocity of 0 and a note off are no notes on";

    // midiOutReset silences every channel.
    ASSERT_EQ(midiOutReset(reinterpret_cast<HMIDIOUT>(m_stream)), MMSYSERR_NOERROR);
    heard = HeardMessages();
    ASSERT_EQ(heard.size(), 20u);
    EXPECT_EQ(heard[19].bytes, (Bytes{0xBF, 123, 0}));
}

TEST_F(MidiStream, BufferLifeCycleAndChecks)
{
    StreamBuffer buffer;
    buffer.Short(0, 0x013C90);
    MIDIHDR* header = buffer.Header();
    auto device = reinterpret_cast<HMIDIOUT>(m_stream);
    EXPECT_EQ(midiStreamOut(m_stream, header, sizeof(MIDIHDR)), MIDIERR_UNPREPARED);
    ASSERT_EQ(midiOutPrepareHeader(device, header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    header->dwBytesRecorded = 6;
    EXPECT_EQ(midiStreamOut(m_stream, header, sizeof(MIDIHDR)), MMSYSERR_INVALPARAM) << "not whole words";
    header->dwBytesRecorded = 12;
    ASSERT_EQ(midiStreamOut(m_stream, header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(midiStreamOut(m_stream, header, sizeof(MIDIHDR)), MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiOutUnprepareHeader(device, header, sizeof(MIDIHDR)), MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiStreamClose(m_stream), MIDIERR_STILLPLAYING);

    Bytes large(kMaxMidiStreamBuffer + 4);
    MIDIHDR tooLarge{};
    tooLarge.lpData = reinterpret_cast<LPSTR>(large.data());
    tooLarge.dwBufferLength = static_cast<DWORD>(large.size());
    EXPECT_EQ(midiOutPrepareHeader(device, &tooLarge, sizeof tooLarge), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiStreamRestart(reinterpret_cast<HMIDISTRM>(std::uintptr_t{0x1234})), MMSYSERR_INVALHANDLE);

    // A record that runs past the recorded bytes ends the buffer there.
    StreamBuffer cut;
    cut.Short(0, 0x023C90).Long(0, Bytes(40, 0x01));
    MIDIHDR* cutHeader = cut.Header();
    cutHeader->dwBytesRecorded = 28;
    ASSERT_EQ(midiOutPrepareHeader(device, cutHeader, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiStreamOut(m_stream, cutHeader, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    midiStreamRestart(m_stream);
    ASSERT_TRUE(DoneReaches(2));
    EXPECT_EQ(mm::NullMidiSnapshot().messageCount, 2u);
    EXPECT_EQ(midiOutUnprepareHeader(device, header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
}

struct PropertyCase {
    const char* label;
    DWORD property;
    DWORD value;
    MMRESULT result;
};

class StreamProperties : public MidiStream, public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(StreamProperties, SetChecksAndGetAnswers)
{
    const PropertyCase& row = GetParam();
    MIDIPROPTIMEDIV property{sizeof property, row.value};
    EXPECT_EQ(midiStreamProperty(m_stream, reinterpret_cast<BYTE*>(&property), row.property), row.result);
    if (row.result != MMSYSERR_NOERROR || !(row.property & MIDIPROP_SET))
        return;
    MIDIPROPTIMEDIV read{sizeof read, 0};
    DWORD which = row.property & ~MIDIPROP_SET;
    ASSERT_EQ(midiStreamProperty(m_stream, reinterpret_cast<BYTE*>(&read), MIDIPROP_GET | which), MMSYSERR_NOERROR);
    EXPECT_EQ(read.dwTimeDiv, row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, StreamProperties,
    ::testing::Values(PropertyCase{"Division480", MIDIPROP_SET | MIDIPROP_TIMEDIV, 480, MMSYSERR_NOERROR},
                      PropertyCase{"DivisionZero", MIDIPROP_SET | MIDIPROP_TIMEDIV, 0, MMSYSERR_INVALPARAM},
                      PropertyCase{"DivisionSmpte30", MIDIPROP_SET | MIDIPROP_TIMEDIV, 0xE204, MMSYSERR_NOERROR},
                      PropertyCase{"DivisionSmpte31", MIDIPROP_SET | MIDIPROP_TIMEDIV, 0xE104, MMSYSERR_INVALPARAM},
                      PropertyCase{"DivisionSmpteNoTicks", MIDIPROP_SET | MIDIPROP_TIMEDIV, 0xE700, MMSYSERR_INVALPARAM},
                      PropertyCase{"DivisionAbove16Bits", MIDIPROP_SET | MIDIPROP_TIMEDIV, 0x10060, MMSYSERR_INVALPARAM},
                      PropertyCase{"Tempo", MIDIPROP_SET | MIDIPROP_TEMPO, 400000, MMSYSERR_NOERROR},
                      PropertyCase{"TempoZero", MIDIPROP_SET | MIDIPROP_TEMPO, 0, MMSYSERR_INVALPARAM},
                      PropertyCase{"SetAndGet", MIDIPROP_SET | MIDIPROP_GET | MIDIPROP_TEMPO, 1, MMSYSERR_INVALFLAG},
                      PropertyCase{"UnknownProperty", MIDIPROP_SET | 4, 1, MMSYSERR_INVALFLAG}),
    vellumry::test::RowLabel());

TEST(MidiStreamOpen, RefusesWhatItCannotOpen)
{
    HMIDISTRM stream = nullptr;
    UINT mapper = MIDI_MAPPER;
    UINT second = 1;
    mm::SelectSoundDevices(mm::SoundDevices::Null);
    EXPECT_EQ(midiStreamOpen(&stream, &mapper, 2, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiStreamOpen(&stream, &second, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midiStreamOpen(&stream, nullptr, 1, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    mm::SelectSoundDevices(mm::SoundDevices::None);
    EXPECT_EQ(midiStreamOpen(&stream, &mapper, 1, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    EXPECT_EQ(stream, nullptr);
}

}  // namespace
