// The null wave-out device (NullWaveDevice.h): a stand-in for a sound card
// that takes bytes like one and plays nothing.

#include "platform/sound/NullWaveDevice.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>

#include "platform/sound/private/WaveBackend.h"

namespace vellumry::mm {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kHeldAhead{100};
constexpr std::chrono::milliseconds kPeriod{20};
constexpr std::chrono::hours kUntilWoken{1};
constexpr std::size_t kMaxRecordedWrites = 100000;

struct NullWaveState {
    std::mutex lock;
    std::condition_variable changed;
    double speed = 1.0;
    std::size_t granted = 0;
    std::uint64_t numbered = 0;
    NullWaveRecord record;
    std::map<std::uint64_t, WakeDevice> wakes;  // of the open devices
};

// Never destroyed: device threads may still use it while the process exits.
NullWaveState& State()
{
    static auto* state = new NullWaveState;
    return *state;
}

class NullWaveBackend : public WaveBackend {
public:
    NullWaveBackend(const WaveFormat& format, WakeDevice wake) : m_frame(format.blockAlign)
    {
        m_bytesPerSecond = static_cast<double>(format.BytesPerSecond());
        auto ahead = static_cast<std::size_t>(m_bytesPerSecond * std::chrono::duration<double>(kHeldAhead).count());
        m_capacity = std::max(m_frame, ahead - ahead % m_frame);
        NullWaveState& state = State();
        std::lock_guard lock(state.lock);
        m_number = ++state.numbered;
        ++state.record.devicesOpened;
        ++state.record.devicesOpen;
        state.wakes.emplace(m_number, std::move(wake));
        state.changed.notify_all();
    }

    ~NullWaveBackend() override
    {
        NullWaveState& state = State();
        std::lock_guard lock(state.lock);
        --state.record.devicesOpen;
        state.wakes.erase(m_number);
        state.changed.notify_all();
    }

    std::size_t Write(std::span<const std::uint8_t> bytes) override
    {
        NullWaveState& state = State();
        std::lock_guard lock(state.lock);
        std::size_t room;
        if (state.speed > 0) {
            PlayAway(state.speed);
            room = m_capacity - m_held;
        } else {
            room = state.granted;
        }
        std::size_t taken = std::min(bytes.size(), room);
        taken -= taken % m_frame;
        if (state.speed > 0)
            m_held += taken;
        else
            state.granted -= taken;
        state.record.bytesTaken += taken;
        if (taken > 0)
            state.changed.notify_all();
        return taken;
    }

    std::chrono::microseconds RetryDelay() const override
    {
        double speed;
        {
            std::lock_guard lock(State().lock);
            speed = State().speed;
        }
        if (speed <= 0)
            return kUntilWoken;
        auto delay = std::chrono::duration_cast<std::chrono::microseconds>(kPeriod / speed);
        return std::max(delay, std::chrono::microseconds(1000));
    }

    void Pause() override {}
    void Reset() override { m_held = 0; }

    void Queued(std::span<const std::uint8_t> bytes, std::size_t headersBefore, std::size_t bytesQueued) override
    {
        NullWaveState& state = State();
        std::lock_guard lock(state.lock);
        NullWaveRecord& record = state.record;
        record.maxBytesQueued = std::max(record.maxBytesQueued, bytesQueued);
        if (record.writes.size() < kMaxRecordedWrites) {
            auto start = bytes.first(std::min(bytes.size(), kNullWaveRecordedBytes));
            record.writes.push_back({m_number, {start.begin(), start.end()}, bytes.size(), headersBefore});
        }
        state.changed.notify_all();
    }

    void Returned(std::size_t) override
    {
        NullWaveState& state = State();
        std::lock_guard lock(state.lock);
        ++state.record.buffersReturned;
        state.changed.notify_all();
    }

private:
    // Lets the bytes held ahead play away for the time since the last look.
    void PlayAway(double speed)
    {
        Clock::time_point now = Clock::now();
        if (m_held > 0) {
            double seconds = std::chrono::duration<double>(now - m_lastDrain).count();
            auto played = static_cast<std::size_t>(seconds * m_bytesPerSecond * speed);
            m_held -= std::min(m_held, played);
        }
        m_lastDrain = now;
    }

    const std::size_t m_frame;
    double m_bytesPerSecond = 0;
    std::size_t m_capacity = 0;
    std::size_t m_held = 0;
    Clock::time_point m_lastDrain = Clock::now();
    std::uint64_t m_number = 0;
};

}  // namespace

std::unique_ptr<WaveBackend> OpenNullWave(const WaveFormat& format, WakeDevice wake)
{
    return std::make_unique<NullWaveBackend>(format, std::move(wake));
}

void SetNullWaveSpeed(double speed)
{
    std::vector<WakeDevice> wakes;
    {
        std::lock_guard lock(State().lock);
        State().speed = std::max(speed, 0.0);
        for (auto& [number, wake] : State().wakes)
            wakes.push_back(wake);
    }
    for (auto& wake : wakes)
        wake();
}

void GrantNullWaveBytes(std::size_t bytes)
{
    std::vector<WakeDevice> wakes;
    {
        std::lock_guard lock(State().lock);
        State().granted += bytes;
        for (auto& [number, wake] : State().wakes)
            wakes.push_back(wake);
    }
    for (auto& wake : wakes)
        wake();
}

NullWaveRecord NullWaveSnapshot()
{
    std::lock_guard lock(State().lock);
    return State().record;
}

void ResetNullWaveRecord()
{
    std::lock_guard lock(State().lock);
    NullWaveRecord& record = State().record;
    std::uint64_t open = record.devicesOpen;
    record = {};
    record.devicesOpen = open;
    State().granted = 0;
}

bool WaitForNullWave(const std::function<bool(const NullWaveRecord&)>& condition, std::chrono::milliseconds timeout)
{
    NullWaveState& state = State();
    std::unique_lock lock(state.lock);
    return state.changed.wait_for(lock, timeout, [&] { return condition(state.record); });
}

}  // namespace vellumry::mm
