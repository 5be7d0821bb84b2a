#include "sound/WavePlayer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/sound/WaveOut.h"
#include "sound/WaveLayout.h"
#include "sound/private/Signals.h"

namespace vellumry::sound {
namespace {

struct HeaderSlot {
    WAVEHDR header;
    std::array<std::uint8_t, kWavePieceSize> buffer;
};

class WavePlayer {
public:
    WavePlayer(MusicBytes music, const WaveLayout& layout, bool loop)
        : m_music(std::move(music)),
          m_samples(layout.samples),
          m_loop(loop),
          m_headers(std::make_unique<HeaderSlot[]>(kWaveHeaderCount)),
          m_signals(kWaveHeaderCount, kWaveHeaderCount)
    {
        // The "fmt " chunk is the WAVEFORMATEX; a copy gives it the alignment
        // a structure needs and the cbSize a 16-byte PCM chunk lacks (zero).
        std::size_t words = (std::max(layout.format.size(), sizeof(WAVEFORMATEX)) + 7) / 8;
        m_format.assign(words, 0);
        std::memcpy(m_format.data(), layout.format.data(), layout.format.size());
        for (int i = 0; i < kWaveHeaderCount; ++i)
            m_headers[i].header.lpData = reinterpret_cast<LPSTR>(m_headers[i].buffer.data());
    }

    // No device, or one that does not open, leaves the player to run without
    // one.
    void OpenDevice()
    {
        if (waveOutGetNumDevs() == 0)
            return;
        if (waveOutOpen(&m_device, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(m_format.data()),
                        reinterpret_cast<DWORD_PTR>(&DeviceCallback), reinterpret_cast<DWORD_PTR>(this),
                        CALLBACK_FUNCTION) != MMSYSERR_NOERROR)
            m_device = nullptr;
    }

    // After this no device callback reaches the player.
    void CloseDevice()
    {
        if (!m_device)
            return;
        if (waveOutClose(m_device) == WAVERR_STILLPLAYING) {
            waveOutReset(m_device);
            waveOutClose(m_device);
        }
        m_device = nullptr;
    }

    void Stop() { m_signals.SetStop(); }

    // The feeder thread's loop, up to the end of playing.
    void Feed()
    {
        for (;;) {
            FeederSignals::Woken woken = m_signals.Wait(kWaveSilenceLimit);
            if (woken != FeederSignals::Woken::Semaphore) {
                // Stopped, or the device has been silent too long.
                if (m_device) {
                    waveOutPause(m_device);
                    waveOutReset(m_device);
                }
                UnprepareAll();
                return;
            }
            int free = FreeHeaders();
            if (free == 0)
                continue;
            WAVEHDR& header = m_headers[m_next].header;
            if (header.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(m_device, &header, sizeof header);
            std::size_t piece = std::min(m_samples.size() - m_position, kWavePieceSize);
            if (piece > 0) {
                std::memcpy(header.lpData, m_samples.data() + m_position, piece);
                header.dwBufferLength = static_cast<DWORD>(piece);
                m_position += piece;
                waveOutPrepareHeader(m_device, &header, sizeof header);
                waveOutWrite(m_device, &header, sizeof header);
                {
                    std::lock_guard lock(m_freeLock);
                    --m_free;
                }
                m_next = (m_next + 1) % kWaveHeaderCount;
                continue;
            }
            if (free < kWaveHeaderCount)
                continue;  // the last pieces are still playing
            if (!m_loop) {
                UnprepareAll();
                return;
            }
            m_position = 0;
            m_next = 0;
            {
                std::lock_guard lock(m_freeLock);
                m_free = kWaveHeaderCount;
            }
            for (int i = 0; i < kWaveHeaderCount; ++i)
                m_signals.Release();
        }
    }

private:
    static void DeviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR)
    {
        if (message != WOM_DONE)
            return;
        auto* player = reinterpret_cast<WavePlayer*>(instance);
        {
            std::lock_guard lock(player->m_freeLock);
            ++player->m_free;
        }
        player->m_signals.Release();
    }

    int FreeHeaders()
    {
        std::lock_guard lock(m_freeLock);
        return m_free;
    }

    void UnprepareAll()
    {
        for (int i = 0; i < kWaveHeaderCount; ++i)
            if (m_headers[i].header.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(m_device, &m_headers[i].header, sizeof(WAVEHDR));
    }

    const MusicBytes m_music;  // keeps m_samples alive
    const std::span<const std::uint8_t> m_samples;
    const bool m_loop;
    std::vector<std::uint64_t> m_format;
    std::size_t m_position = 0;  // samples bytes already queued
    std::unique_ptr<HeaderSlot[]> m_headers;
    int m_next = 0;  // the header to fill next
    std::mutex m_freeLock;
    int m_free = kWaveHeaderCount;
    FeederSignals m_signals;
    HWAVEOUT m_device = nullptr;
};

// A feeder thread and the mark it sets when its work is done, after which
// joining it does not wait.
struct Feeder {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> ended = std::make_shared<std::atomic<bool>>(false);
    std::mutex joinLock;

    void Join()
    {
        std::lock_guard lock(joinLock);
        if (thread.joinable())
            thread.join();
    }
};

struct PlayerList {
    std::mutex lock;
    std::vector<std::shared_ptr<WavePlayer>> players;
    std::vector<std::shared_ptr<Feeder>> feeders;  // not yet joined
};

// Never destroyed: feeder threads may outlive the static objects when the
// process ends without stopping them.
PlayerList& List()
{
    static auto* list = new PlayerList;
    return *list;
}

void Forget(const std::shared_ptr<Feeder>& feeder)
{
    PlayerList& list = List();
    std::lock_guard lock(list.lock);
    std::erase(list.feeders, feeder);
}

// Joins the feeder threads whose work is done.
void JoinEndedFeeders()
{
    std::vector<std::shared_ptr<Feeder>> ended;
    {
        PlayerList& list = List();
        std::lock_guard lock(list.lock);
        for (const auto& feeder : list.feeders)
            if (feeder->ended->load())
                ended.push_back(feeder);
    }
    for (const auto& feeder : ended) {
        feeder->Join();
        Forget(feeder);
    }
}

void RunFeeder(const std::shared_ptr<WavePlayer>& player)
{
    player->OpenDevice();
    player->Feed();
    // The device closes before the player leaves the list: a player no longer
    // counted has no device open.
    player->CloseDevice();
    PlayerList& list = List();
    std::lock_guard lock(list.lock);
    std::erase(list.players, player);
}

bool Start(MusicBytes music, const WaveLayout& layout, bool loop)
{
    JoinEndedFeeders();
    std::shared_ptr<WavePlayer> player;
    try {
        player = std::make_shared<WavePlayer>(std::move(music), layout, loop);
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto feeder = std::make_shared<Feeder>();
    PlayerList& list = List();
    {
        std::lock_guard lock(list.lock);
        list.players.push_back(player);
        try {
            // The thread owns the player from here; the player, and through it
            // the music, go when the thread ends.
            feeder->thread = std::thread([player, ended = feeder->ended]() mutable {
                RunFeeder(player);
                player.reset();
                ended->store(true);
            });
            list.feeders.push_back(feeder);
            return true;
        } catch (const std::system_error&) {
            list.players.pop_back();
        }
    }
    return false;
}

}  // namespace

bool PlayWave(MusicBytes music, bool loop)
{
    auto layout = ParseWave(music.bytes);
    return layout && Start(std::move(music), *layout, loop);
}

bool PlayWaveCopy(std::span<const std::uint8_t> data, bool loop)
{
    auto layout = ParseWave(data);
    if (!layout)
        return false;
    std::shared_ptr<std::vector<std::uint8_t>> copy;
    try {
        copy = std::make_shared<std::vector<std::uint8_t>>(layout->format.begin(), layout->format.end());
        copy->insert(copy->end(), layout->samples.begin(), layout->samples.end());
    } catch (const std::bad_alloc&) {
        return false;
    }
    WaveLayout copied{std::span(*copy).first(layout->format.size()), std::span(*copy).subspan(layout->format.size())};
    return Start(MusicBytes::Shared(*copy, copy), copied, loop);
}

void StopAllWaves(bool wait)
{
    std::vector<std::shared_ptr<Feeder>> feeders;
    {
        PlayerList& list = List();
        std::lock_guard lock(list.lock);
        for (const auto& player : list.players)
            player->Stop();
        if (wait)
            feeders = list.feeders;
    }
    // Outside the lock: a finishing feeder takes it to leave the list.
    for (const auto& feeder : feeders) {
        feeder->Join();
        Forget(feeder);
    }
}

std::size_t PlayingWaveCount()
{
    PlayerList& list = List();
    std::lock_guard lock(list.lock);
    return list.players.size();
}

}  // namespace vellumry::sound
