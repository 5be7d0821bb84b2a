// Wave-out as the Windows multimedia documentation describes it (see
// WaveOut.h): an open device owns a thread that hands queued buffers to the
// output device in order and sends WOM_DONE for each once the device has
// taken all of it.

#include "platform/sound/WaveOut.h"

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "platform/sound/SoundDevices.h"
#include "platform/sound/private/HandleRegistry.h"
#include "platform/sound/private/OutputDevice.h"
#include "platform/sound/private/WaveBackend.h"

namespace vellumry::mm {
namespace {

constexpr std::size_t kMaxBlockAlign = 64;  // eight channels of 64-bit samples

std::span<const std::uint8_t> BytesOf(const WAVEHDR& header)
{
    return {reinterpret_cast<const std::uint8_t*>(header.lpData), header.dwBufferLength};
}

class WaveOutDevice : public OutputDevice<HWAVEOUT> {
public:
    WaveOutDevice(const WaveFormat& format, WaveOutProc callback, DWORD_PTR instance)
        : OutputDevice(callback, instance), m_format(format)
    {
    }

    ~WaveOutDevice() { StopThread(); }

    // Starts the device thread; false when no thread can be made.
    bool Start(HWAVEOUT handle, std::unique_ptr<WaveBackend> backend)
    {
        m_backend = std::move(backend);
        return StartThread(handle, [this] { Run(); });
    }

    void Wake()
    {
        std::lock_guard lock(m_lock);
        m_wakeRequested = true;
        m_wakeUp.notify_all();
    }

    // Header flags change under the device's lock, which the device thread
    // holds when it marks a buffer done.
    MMRESULT Prepare(WAVEHDR& header)
    {
        std::lock_guard lock(m_lock);
        header.dwFlags |= WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Unprepare(WAVEHDR& header)
    {
        std::lock_guard lock(m_lock);
        if (header.dwFlags & WHDR_INQUEUE)
            return WAVERR_STILLPLAYING;
        header.dwFlags &= ~WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Write(WAVEHDR& header)
    {
        std::lock_guard lock(m_lock);
        if (m_closing)
            return MMSYSERR_INVALHANDLE;
        if (!(header.dwFlags & WHDR_PREPARED))
            return WAVERR_UNPREPARED;
        if (header.dwFlags & WHDR_INQUEUE)
            return WAVERR_STILLPLAYING;
        header.dwFlags = (header.dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
        std::size_t before = m_queue.size();
        m_queue.push_back(&header);
        m_bytesQueued += header.dwBufferLength;
        m_backend->Queued(BytesOf(header), before, m_bytesQueued);
        m_wakeRequested = true;
        m_wakeUp.notify_all();
        return MMSYSERR_NOERROR;
    }

    MMRESULT Pause()
    {
        std::lock_guard lock(m_lock);
        m_paused = true;
        m_backend->Pause();
        return MMSYSERR_NOERROR;
    }

    MMRESULT Reset()
    {
        std::vector<WAVEHDR*> returned;
        {
            std::lock_guard lock(m_lock);
            m_backend->Reset();
            returned.assign(m_queue.begin(), m_queue.end());
            m_queue.clear();
            m_offset = 0;
            m_carrySize = 0;
            for (WAVEHDR* header : returned) {
                MarkDone(*header);
                m_bytesQueued -= header->dwBufferLength;
                m_backend->Returned(m_bytesQueued);
            }
        }
        for (WAVEHDR* header : returned)
            Notify(WOM_DONE, reinterpret_cast<DWORD_PTR>(header));
        return MMSYSERR_NOERROR;
    }

    MMRESULT Close()
    {
        if (MMRESULT result = BeginClose([this] { return !m_queue.empty(); }, WAVERR_STILLPLAYING))
            return result;
        StopThread();
        m_backend.reset();
        Notify(WOM_CLOSE, 0);
        return MMSYSERR_NOERROR;
    }

private:
    static void MarkDone(WAVEHDR& header) { header.dwFlags = (header.dwFlags & ~WHDR_INQUEUE) | WHDR_DONE; }

    void Run()
    {
        std::unique_lock lock(m_lock);
        while (!m_closing) {
            std::vector<WAVEHDR*> done;
            bool full = !m_paused && Feed(done);
            if (!done.empty()) {
                lock.unlock();
                for (WAVEHDR* header : done)
                    Notify(WOM_DONE, reinterpret_cast<DWORD_PTR>(header));
                lock.lock();
                continue;
            }
            auto woken = [this] { return m_wakeRequested || m_closing; };
            if (full)
                m_wakeUp.wait_for(lock, m_backend->RetryDelay(), woken);
            else
                m_wakeUp.wait(lock, woken);
            m_wakeRequested = false;
        }
    }

    // Hands queued bytes to the device, whole frames only; a partial frame
    // at the end of one buffer is completed from the next. Buffers the device
    // has taken completely go to `done`. True when the device is full.
    bool Feed(std::vector<WAVEHDR*>& done)
    {
        const std::size_t frame = m_format.blockAlign;
        while (!m_queue.empty()) {
            WAVEHDR& header = *m_queue.front();
            std::span<const std::uint8_t> rest = BytesOf(header).subspan(m_offset);
            if (m_carrySize > 0 && !rest.empty()) {
                std::size_t take = std::min(frame - m_carrySize, rest.size());
                std::array<std::uint8_t, kMaxBlockAlign> joined = m_carry;
                std::copy_n(rest.begin(), take, joined.begin() + m_carrySize);
                if (m_carrySize + take == frame) {
                    if (m_backend->Write(std::span(joined).first(frame)) == 0)
                        return true;
                    m_carrySize = 0;
                } else {
                    m_carry = joined;
                    m_carrySize += take;
                }
                m_offset += take;
                continue;
            }
            std::size_t whole = rest.size() - rest.size() % frame;
            if (whole > 0) {
                std::size_t taken = m_backend->Write(rest.first(whole));
                m_offset += taken;
                if (taken < whole)
                    return true;
                continue;
            }
            std::copy(rest.begin(), rest.end(), m_carry.begin() + m_carrySize);
            m_carrySize += rest.size();
            m_queue.pop_front();
            m_offset = 0;
            m_bytesQueued -= header.dwBufferLength;
            MarkDone(header);
            m_backend->Returned(m_bytesQueued);
            done.push_back(&header);
        }
        m_backend->Drain();
        return false;
    }

    const WaveFormat m_format;
    std::unique_ptr<WaveBackend> m_backend;
    bool m_wakeRequested = false;
    bool m_paused = false;
    std::deque<WAVEHDR*> m_queue;
    std::size_t m_offset = 0;  // bytes of the first queued buffer already taken
    std::size_t m_bytesQueued = 0;
    std::array<std::uint8_t, kMaxBlockAlign> m_carry{};
    std::size_t m_carrySize = 0;
};

// Never destroyed: a player thread may still close its device while the
// process exits.
HandleRegistry<WaveOutDevice, HWAVEOUT>& Devices()
{
    static auto* devices = new HandleRegistry<WaveOutDevice, HWAVEOUT>;
    return *devices;
}

bool HeaderArgumentsValid(const WAVEHDR* header, UINT headerSize)
{
    return header && headerSize >= sizeof(WAVEHDR) && (header->lpData || header->dwBufferLength == 0);
}

MMRESULT OpenBackend(const WaveFormat& format, const std::weak_ptr<WaveOutDevice>& device,
                     std::unique_ptr<WaveBackend>& backend)
{
    switch (SelectedSoundDevices()) {
    case SoundDevices::System:
        return OpenAlsaPcm(format, backend);
    case SoundDevices::Null:
        backend = OpenNullWave(format, [device] {
            if (auto live = device.lock())
                live->Wake();
        });
        return MMSYSERR_NOERROR;
    case SoundDevices::None:
        break;
    }
    return MMSYSERR_NODRIVER;
}

}  // namespace
}  // namespace vellumry::mm

using namespace vellumry::mm;

UINT waveOutGetNumDevs()
{
    switch (SelectedSoundDevices()) {
    case SoundDevices::System:
        return AlsaPcmPresent() ? 1 : 0;
    case SoundDevices::Null:
        return 1;
    case SoundDevices::None:
        break;
    }
    return 0;
}

MMRESULT waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags)
{
    DWORD callbackKind = flags & CALLBACK_TYPEMASK;
    if ((callbackKind != CALLBACK_NULL && callbackKind != CALLBACK_FUNCTION) ||
        (flags & ~(CALLBACK_TYPEMASK | WAVE_FORMAT_QUERY)) != 0)
        return MMSYSERR_INVALFLAG;
    if (!format || (!device && !(flags & WAVE_FORMAT_QUERY)))
        return MMSYSERR_INVALPARAM;
    UINT count = waveOutGetNumDevs();
    if (count == 0)
        return MMSYSERR_NODRIVER;
    if (deviceId != WAVE_MAPPER && deviceId >= count)
        return MMSYSERR_BADDEVICEID;
    auto checked = CheckWaveFormat(*format);
    if (!checked)
        return WAVERR_BADFORMAT;

    auto opened = std::make_shared<WaveOutDevice>(
        *checked, callbackKind == CALLBACK_FUNCTION ? reinterpret_cast<WaveOutProc>(callback) : nullptr, instance);
    std::unique_ptr<WaveBackend> backend;
    if (MMRESULT result = OpenBackend(*checked, opened, backend); result != MMSYSERR_NOERROR)
        return result;
    if (flags & WAVE_FORMAT_QUERY)
        return MMSYSERR_NOERROR;
    HWAVEOUT handle = Devices().Insert(opened);
    if (!opened->Start(handle, std::move(backend))) {
        Devices().Remove(handle);
        return MMSYSERR_NOMEM;
    }
    *device = handle;
    opened->Notify(WOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize)
{
    return Devices().With(device, [&](WaveOutDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Prepare(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize)
{
    return Devices().With(device, [&](WaveOutDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Unprepare(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize)
{
    return Devices().With(device, [&](WaveOutDevice& found) {
        return HeaderArgumentsValid(header, headerSize) ? found.Write(*header) : MMSYSERR_INVALPARAM;
    });
}

MMRESULT waveOutPause(HWAVEOUT device)
{
    return Devices().With(device, [](WaveOutDevice& found) { return found.Pause(); });
}

MMRESULT waveOutReset(HWAVEOUT device)
{
    return Devices().With(device, [](WaveOutDevice& found) { return found.Reset(); });
}

MMRESULT waveOutClose(HWAVEOUT device)
{
    MMRESULT result = Devices().With(device, [](WaveOutDevice& found) { return found.Close(); });
    if (result == MMSYSERR_NOERROR)
        Devices().Remove(device);
    return result;
}
