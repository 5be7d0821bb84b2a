// The null MIDI output (NullMidiDevice.h).

#include "platform/sound/NullMidiDevice.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "platform/sound/private/MidiBackend.h"

namespace vellumry::mm {
namespace {

struct NullMidiState {
    std::mutex lock;
    std::condition_variable changed;
    double speed = 1.0;
    std::uint64_t numbered = 0;
    NullMidiRecord record;
};

// Never destroyed: stream threads may still use it while the process exits.
NullMidiState& State()
{
    static auto* state = new NullMidiState;
    return *state;
}

class NullMidiBackend : public MidiBackend {
public:
    NullMidiBackend()
    {
        std::lock_guard lock(State().lock);
        m_number = ++State().numbered;
        ++State().record.devicesOpened;
        ++State().record.devicesOpen;
        State().changed.notify_all();
    }

    ~NullMidiBackend() override
    {
        std::lock_guard lock(State().lock);
        --State().record.devicesOpen;
        State().changed.notify_all();
    }

    void Send(std::span<const std::uint8_t> message, double streamMicroseconds) override
    {
        std::lock_guard lock(State().lock);
        NullMidiRecord& record = State().record;
        ++record.messageCount;
        if (record.messages.size() < kNullMidiRecordedMessages)
            record.messages.push_back({m_number, streamMicroseconds, {message.begin(), message.end()}});
        State().changed.notify_all();
    }

    double Speed() const override
    {
        std::lock_guard lock(State().lock);
        return State().speed;
    }

private:
    std::uint64_t m_number = 0;
};

}  // namespace

std::unique_ptr<MidiBackend> OpenNullMidi()
{
    return std::make_unique<NullMidiBackend>();
}

void SetNullMidiSpeed(double speed)
{
    std::lock_guard lock(State().lock);
    State().speed = std::max(speed, 0.0);
}

NullMidiRecord NullMidiSnapshot()
{
    std::lock_guard lock(State().lock);
    return State().record;
}

void ResetNullMidiRecord()
{
    std::lock_guard lock(State().lock);
    NullMidiRecord& record = State().record;
    std::uint64_t open = record.devicesOpen;
    record = {};
    record.devicesOpen = open;
}

bool WaitForNullMidi(const std::function<bool(const NullMidiRecord&)>& condition, std::chrono::milliseconds timeout)
{
    NullMidiState& state = State();
    std::unique_lock lock(state.lock);
    return state.changed.wait_for(lock, timeout, [&] { return condition(state.record); });
}

}  // namespace vellumry::mm
