// The wave-out stand-in's system device: ALSA's default PCM device (another
// one when VELLUMRY_ALSA_PCM names it, such as "null"), opened non-blocking
// so the device thread never waits inside ALSA. snd_pcm_set_params lets the
// device convert format and rate where the hardware cannot take them as they
// are, with a tenth of a second of latency.

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/sound/private/AlsaLibrary.h"
#include "platform/sound/private/WaveBackend.h"

namespace vellumry::mm {
namespace {

constexpr unsigned kLatencyMicroseconds = 100000;
constexpr std::chrono::microseconds kShortestRetry{1000};

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

const char* PcmName()
{
    const char* name = std::getenv("VELLUMRY_ALSA_PCM");
    return name && *name ? name : "default";
}

snd_pcm_format_t AlsaFormatOf(const WaveFormat& format)
{
    switch (format.kind) {
    case SampleKind::UnsignedInteger:
        return SND_PCM_FORMAT_U8;
    case SampleKind::Float:
        return format.bitsPerSample == 64 ? SND_PCM_FORMAT_FLOAT64_LE : SND_PCM_FORMAT_FLOAT_LE;
    case SampleKind::SignedInteger:
        break;
    }
    switch (format.bitsPerSample) {
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    default:
        return SND_PCM_FORMAT_S32_LE;
    }
}

class AlsaPcmBackend : public WaveBackend {
public:
    AlsaPcmBackend(PcmHandle pcm, const WaveFormat& format) : m_pcm(std::move(pcm)), m_frame(format.blockAlign)
    {
        snd_pcm_uframes_t bufferSize = 0;
        snd_pcm_uframes_t periodSize = 0;
        if (snd_pcm_get_params(m_pcm.get(), &bufferSize, &periodSize) == 0 && periodSize > 0) {
            m_bufferFrames = bufferSize;
            m_period = std::chrono::microseconds(periodSize * 1000000 / format.samplesPerSecond);
        }
        m_period = std::max(m_period, kShortestRetry);
    }

    std::size_t Write(std::span<const std::uint8_t> bytes) override
    {
        snd_pcm_t* pcm = m_pcm.get();
        snd_pcm_sframes_t room = snd_pcm_avail_update(pcm);
        if (room < 0) {
            // An underrun or a suspend: start again from a prepared device.
            if (snd_pcm_recover(pcm, static_cast<int>(room), 1) < 0)
                return 0;
            room = snd_pcm_avail_update(pcm);
            if (room < 0)
                return 0;
        }
        auto frames = std::min<snd_pcm_uframes_t>(bytes.size() / m_frame, static_cast<snd_pcm_uframes_t>(room));
        if (frames == 0)
            return 0;
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, bytes.data(), frames);
        if (written < 0) {
            if (written != -EAGAIN)
                snd_pcm_recover(pcm, static_cast<int>(written), 1);
            return 0;
        }
        return static_cast<std::size_t>(written) * m_frame;
    }

    std::chrono::microseconds RetryDelay() const override { return m_period; }

    // A device starts by itself once its buffer is full; a short piece of
    // music never fills it.
    void Drain() override
    {
        if (snd_pcm_state(m_pcm.get()) == SND_PCM_STATE_PREPARED) {
            snd_pcm_sframes_t room = snd_pcm_avail_update(m_pcm.get());
            if (room >= 0 && static_cast<snd_pcm_uframes_t>(room) < m_bufferFrames)
                snd_pcm_start(m_pcm.get());
        }
    }

    void Pause() override
    {
        if (snd_pcm_state(m_pcm.get()) != SND_PCM_STATE_RUNNING || snd_pcm_pause(m_pcm.get(), 1) < 0)
            snd_pcm_drop(m_pcm.get());
    }

    void Reset() override
    {
        snd_pcm_drop(m_pcm.get());
        snd_pcm_prepare(m_pcm.get());
    }

private:
    PcmHandle m_pcm;
    const std::size_t m_frame;
    snd_pcm_uframes_t m_bufferFrames = 0;
    std::chrono::microseconds m_period{20000};
};

}  // namespace

bool AlsaPcmPresent()
{
    QuietAlsaErrors();
    snd_pcm_t* pcm = nullptr;
    int result = snd_pcm_open(&pcm, PcmName(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result == 0)
        snd_pcm_close(pcm);
    return result == 0 || result == -EBUSY;
}

MMRESULT OpenAlsaPcm(const WaveFormat& format, std::unique_ptr<WaveBackend>& backend)
{
    QuietAlsaErrors();
    snd_pcm_t* opened = nullptr;
    int result = snd_pcm_open(&opened, PcmName(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result == -EBUSY)
        return MMSYSERR_ALLOCATED;
    if (result < 0)
        return MMSYSERR_NODRIVER;
    PcmHandle pcm(opened);
    if (snd_pcm_set_params(pcm.get(), AlsaFormatOf(format), SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                           format.samplesPerSecond, 1, kLatencyMicroseconds) < 0)
        return WAVERR_BADFORMAT;
    backend = std::make_unique<AlsaPcmBackend>(std::move(pcm), format);
    return MMSYSERR_NOERROR;
}

}  // namespace vellumry::mm
