// The wave-out stand-in: the documented header life cycle, format checks,
// callbacks and reset, on the null device and on ALSA's own null PCM.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sound/NullWaveDevice.h"
#include "platform/sound/SoundDevices.h"
#include "platform/sound/WaveOut.h"
#include "tests/support/CaseTable.h"

namespace {

using namespace vellumry;
using vellumry::test::PrintTo;

constexpr std::chrono::seconds kPatience{30};

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits)
{
    WORD blockAlign = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * blockAlign, blockAlign, bits, 0};
}

// What the device callback saw.
struct Callbacks {
    std::mutex lock;
    std::vector<UINT> messages;
    std::vector<WAVEHDR*> done;
    std::vector<std::thread::id> threads;

    static void Record(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR header, DWORD_PTR)
    {
        auto* self = reinterpret_cast<Callbacks*>(instance);
        std::lock_guard guard(self->lock);
        self->messages.push_back(message);
        self->threads.push_back(std::this_thread::get_id());
        if (message == WOM_DONE)
            self->done.push_back(reinterpret_cast<WAVEHDR*>(header));
    }

    std::size_t DoneCount()
    {
        std::lock_guard guard(lock);
        return done.size();
    }
};

struct Buffer {
    std::vector<std::uint8_t> bytes;
    WAVEHDR header{};

    explicit Buffer(std::size_t size, std::uint8_t fill = 0) : bytes(size, fill)
    {
        header.lpData = reinterpret_cast<LPSTR>(bytes.data());
        header.dwBufferLength = static_cast<DWORD>(size);
    }
};

class WaveOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        mm::SelectSoundDevices(mm::SoundDevices::Null);
        mm::SetNullWaveSpeed(0);
        mm::ResetNullWaveRecord();
    }

    void TearDown() override
    {
        if (m_device) {
            EXPECT_EQ(waveOutReset(m_device), MMSYSERR_NOERROR);
            EXPECT_EQ(waveOutClose(m_device), MMSYSERR_NOERROR);
        }
        mm::SetNullWaveSpeed(1);
    }

    void Open(const WAVEFORMATEX& format = Pcm(2, 48000, 16))
    {
        ASSERT_EQ(waveOutOpen(&m_device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&Callbacks::Record),
                              reinterpret_cast<DWORD_PTR>(&m_callbacks), CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
    }

    bool DoneReaches(std::size_t count)
    {
        auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (m_callbacks.DoneCount() < count)
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return true;
    }

    HWAVEOUT m_device = nullptr;
    Callbacks m_callbacks;
};

TEST_F(WaveOut, HeaderLifeCycle)
{
    Open();
    Buffer buffer(4800);
    WAVEHDR& header = buffer.header;
    EXPECT_EQ(waveOutWrite(m_device, &header, sizeof header), WAVERR_UNPREPARED);
    EXPECT_EQ(waveOutUnprepareHeader(m_device, &header, sizeof header), MMSYSERR_NOERROR) << "not prepared: no effect";
    ASSERT_EQ(waveOutPrepareHeader(m_device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutPrepareHeader(m_device, &header, sizeof header), MMSYSERR_NOERROR) << "twice: no effect";
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED);

    ASSERT_EQ(waveOutWrite(m_device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
    EXPECT_EQ(waveOutWrite(m_device, &header, sizeof header), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveOutUnprepareHeader(m_device, &header, sizeof header), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveOutClose(m_device), WAVERR_STILLPLAYING);

    mm::GrantNullWaveBytes(4800);
    ASSERT_TRUE(DoneReaches(1));
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_NE(m_callbacks.threads.back(), std::this_thread::get_id()) << "WOM_DONE comes from the device's thread";
    EXPECT_EQ(waveOutUnprepareHeader(m_device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_DONE);

    EXPECT_EQ(waveOutClose(m_device), MMSYSERR_NOERROR);
    EXPECT_THAT(m_callbacks.messages, ::testing::ElementsAre(WOM_OPEN, WOM_DONE, WOM_CLOSE));
    EXPECT_EQ(waveOutWrite(m_device, &header, sizeof header), MMSYSERR_INVALHANDLE) << "closed";
    EXPECT_EQ(waveOutReset(m_device), MMSYSERR_INVALHANDLE);
    m_device = nullptr;
}

TEST_F(WaveOut, BuffersComeBackInOrderAndPartialFramesJoin)
{
    Open();  // 4-byte frames
    std::vector<Buffer> buffers;
    for (std::size_t size : {6u, 3u, 7u, 0u, 8u})
        buffers.emplace_back(size);
    for (Buffer& buffer : buffers) {
        ASSERT_EQ(waveOutPrepareHeader(m_device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(m_device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    mm::GrantNullWaveBytes(24);
    ASSERT_TRUE(DoneReaches(5));
    std::vector<WAVEHDR*> expected;
    for (Buffer& buffer : buffers)
        expected.push_back(&buffer.header);
    EXPECT_EQ(m_callbacks.done, expected);
    EXPECT_EQ(mm::NullWaveSnapshot().bytesTaken, 24u) << "6 + 3 + 7 + 8 bytes as six whole frames";
}

TEST_F(WaveOut, ResetHandsEveryQueuedBufferBackBeforeItReturns)
{
    Open();
    std::vector<Buffer> buffers;
    for (int i = 0; i < 3; ++i)
        buffers.emplace_back(4000);
    for (Buffer& buffer : buffers) {
        waveOutPrepareHeader(m_device, &buffer.header, sizeof(WAVEHDR));
        waveOutWrite(m_device, &buffer.header, sizeof(WAVEHDR));
    }
    mm::GrantNullWaveBytes(1000);  // the first is only partly taken
    ASSERT_TRUE(mm::WaitForNullWave([](const auto& r) { return r.bytesTaken == 1000; }, kPatience));
    EXPECT_EQ(waveOutPause(m_device), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutReset(m_device), MMSYSERR_NOERROR);
    EXPECT_EQ(m_callbacks.DoneCount(), 3u);
    for (Buffer& buffer : buffers)
        EXPECT_EQ(buffer.header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_EQ(m_callbacks.threads.back(), std::this_thread::get_id()) << "from the thread that reset";
}

TEST_F(WaveOut, CloseFromTheCallbackIsRefused)
{
    struct Closer {
        MMRESULT result = MMSYSERR_NOERROR;
        std::atomic<bool> called{false};
        static void Callback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR)
        {
            auto* self = reinterpret_cast<Closer*>(instance);
            if (message != WOM_DONE)
                return;
            self->result = waveOutClose(device);
            self->called = true;
        }
    } closer;
    WAVEFORMATEX format = Pcm(1, 8000, 8);
    ASSERT_EQ(waveOutOpen(&m_device, 0, &format, reinterpret_cast<DWORD_PTR>(&Closer::Callback),
                          reinterpret_cast<DWORD_PTR>(&closer), CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    Buffer buffer(10);
    waveOutPrepareHeader(m_device, &buffer.header, sizeof(WAVEHDR));
    waveOutWrite(m_device, &buffer.header, sizeof(WAVEHDR));
    mm::GrantNullWaveBytes(10);
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!closer.called && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(closer.result, MMSYSERR_HANDLEBUSY);
}

TEST_F(WaveOut, HandlesAndArgumentsAreChecked)
{
    WAVEHDR header{};
    auto made = reinterpret_cast<HWAVEOUT>(std::uintptr_t{0x1234});
    EXPECT_EQ(waveOutPrepareHeader(made, &header, sizeof header), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutPause(nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutClose(made), MMSYSERR_INVALHANDLE);
    WAVEFORMATEX format = Pcm(2, 48000, 16);
    HWAVEOUT device = nullptr;
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, nullptr, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveOutOpen(&device, 1, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, 0x00010000), MMSYSERR_INVALFLAG) << "window callbacks";
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    Open();
    EXPECT_EQ(waveOutPrepareHeader(m_device, nullptr, sizeof header), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveOutPrepareHeader(m_device, &header, sizeof header - 1), MMSYSERR_INVALPARAM);
    header.dwBufferLength = 4;
    EXPECT_EQ(waveOutPrepareHeader(m_device, &header, sizeof header), MMSYSERR_INVALPARAM) << "no data";
}

TEST_F(WaveOut, NoDeviceSelected)
{
    mm::SelectSoundDevices(mm::SoundDevices::None);
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    WAVEFORMATEX format = Pcm(2, 48000, 16);
    HWAVEOUT device = nullptr;
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
}

struct FormatCase {
    const char* label;
    std::vector<std::uint8_t> format;  // a WAVEFORMATEX and its extension
    MMRESULT result;
};

std::vector<std::uint8_t> FormatBytes(WAVEFORMATEX format, std::vector<std::uint8_t> extension = {})
{
    format.cbSize = static_cast<WORD>(extension.size());
    std::vector<std::uint8_t> bytes(sizeof format);
    std::memcpy(bytes.data(), &format, sizeof format);
    bytes.insert(bytes.end(), extension.begin(), extension.end());
    return bytes;
}

std::vector<std::uint8_t> Extensible(WORD bits, DWORD subFormat, bool ksSuffix = true)
{
    WAVEFORMATEX format = Pcm(2, 44100, bits);
    format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    std::vector<std::uint8_t> extension = {static_cast<std::uint8_t>(bits), 0, 3, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        extension.push_back(static_cast<std::uint8_t>(subFormat >> (8 * i)));
    std::vector<std::uint8_t> suffix = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    if (!ksSuffix)
        suffix[5] = 1;
    extension.insert(extension.end(), suffix.begin(), suffix.end());
    return FormatBytes(format, extension);
}

WAVEFORMATEX Changed(WAVEFORMATEX format, std::function<void(WAVEFORMATEX&)> change)
{
    change(format);
    return format;
}

class WaveFormats : public WaveOut, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(WaveFormats, OpenChecksTheFormat)
{
    HWAVEOUT device = nullptr;
    const auto* format = reinterpret_cast<const WAVEFORMATEX*>(GetParam().format.data());
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, format, 0, 0, CALLBACK_NULL), GetParam().result);
    if (device) {
        EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveFormats,
    ::testing::Values(
        FormatCase{"Stereo16", FormatBytes(Pcm(2, 48000, 16)), MMSYSERR_NOERROR},
        FormatCase{"Mono8", FormatBytes(Pcm(1, 11025, 8)), MMSYSERR_NOERROR},
        FormatCase{"Pcm24", FormatBytes(Pcm(2, 96000, 24)), MMSYSERR_NOERROR},
        FormatCase{"Float32",
                   FormatBytes(Changed(Pcm(2, 48000, 32), [](auto& f) { f.wFormatTag = WAVE_FORMAT_IEEE_FLOAT; })),
                   MMSYSERR_NOERROR},
        FormatCase{"ExtensiblePcm", Extensible(16, WAVE_FORMAT_PCM), MMSYSERR_NOERROR},
        FormatCase{"ExtensibleFloat", Extensible(32, WAVE_FORMAT_IEEE_FLOAT), MMSYSERR_NOERROR},
        FormatCase{"ExtensibleUnknownGuid", Extensible(16, WAVE_FORMAT_PCM, false), WAVERR_BADFORMAT},
        FormatCase{"ExtensibleTooShort",
                   FormatBytes(Changed(Pcm(2, 48000, 16), [](auto& f) { f.wFormatTag = WAVE_FORMAT_EXTENSIBLE; }),
                               std::vector<std::uint8_t>(10)),
                   WAVERR_BADFORMAT},
        FormatCase{"ZeroChannels", FormatBytes(Changed(Pcm(2, 48000, 16), [](auto& f) { f.nChannels = 0; })),
                   WAVERR_BADFORMAT},
        FormatCase{"NineChannels", FormatBytes(Pcm(9, 48000, 16)), WAVERR_BADFORMAT},
        FormatCase{"ZeroRate", FormatBytes(Pcm(2, 0, 16)), WAVERR_BADFORMAT},
        FormatCase{"BlockAlignDoesNotMatch",
                   FormatBytes(Changed(Pcm(2, 48000, 16), [](auto& f) { f.nBlockAlign = 3; })), WAVERR_BADFORMAT},
        FormatCase{"TwelveBits", FormatBytes(Pcm(2, 48000, 12)), WAVERR_BADFORMAT},
        FormatCase{"Adpcm", FormatBytes(Changed(Pcm(2, 48000, 4), [](auto& f) { f.wFormatTag = 2; }), {0, 0}),
                   WAVERR_BADFORMAT}),
    vellumry::test::RowLabel());

// ALSA itself, through its "null" PCM (present wherever ALSA is, with or
// without a sound card): the real device code opens, configures, writes and
// resets, and the buffers come back.
class AlsaNullPcm : public WaveOut {
protected:
    void SetUp() override
    {
        WaveOut::SetUp();
        ::setenv("VELLUMRY_ALSA_PCM", "null", 1);
        mm::SelectSoundDevices(mm::SoundDevices::System);
    }
    void TearDown() override
    {
        WaveOut::TearDown();
        ::unsetenv("VELLUMRY_ALSA_PCM");
    }
};

TEST_F(AlsaNullPcm, PlaysBuffersThroughAlsa)
{
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    Open(Pcm(2, 48000, 16));
    std::vector<Buffer> buffers;
    for (int i = 0; i < 4; ++i)
        buffers.emplace_back(15360 + (i == 3 ? 2 : 0));
    for (Buffer& buffer : buffers) {
        ASSERT_EQ(waveOutPrepareHeader(m_device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(m_device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    ASSERT_TRUE(DoneReaches(4));
    EXPECT_EQ(mm::NullWaveSnapshot().devicesOpened, 0u) << "not the null device of our own";
    EXPECT_EQ(waveOutPause(m_device), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutReset(m_device), MMSYSERR_NOERROR);
}

TEST_F(AlsaNullPcm, AMissingPcmIsNoDevice)
{
    ::setenv("VELLUMRY_ALSA_PCM", "vellumry_no_such_pcm", 1);
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    WAVEFORMATEX format = Pcm(2, 48000, 16);
    HWAVEOUT device = nullptr;
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
}

}  // namespace
