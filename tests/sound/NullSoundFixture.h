#pragma once

// Sound tests play on the null devices: buffers come back only when a test
// grants bytes (speed 0) unless a test sets a speed; the MIDI output plays
// every event at once. Whatever a test starts is stopped, with a wait, after
// it.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/sound/NullMidiDevice.h"
#include "platform/sound/NullWaveDevice.h"
#include "platform/sound/SoundDevices.h"
#include "sound/MusicService.h"
#include "sound/WavePlayer.h"

namespace vellumry::sound::test {

inline constexpr std::chrono::seconds kPatience{30};

// Polls `condition` until it holds; false when kPatience passed first.
inline bool Eventually(const std::function<bool()>& condition)
{
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline bool WaitForWave(const std::function<bool(const mm::NullWaveRecord&)>& condition)
{
    return mm::WaitForNullWave(condition, kPatience);
}

inline bool WaitForMidi(const std::function<bool(const mm::NullMidiRecord&)>& condition)
{
    return mm::WaitForNullMidi(condition, kPatience);
}

class NullSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        mm::SelectSoundDevices(mm::SoundDevices::Null);
        mm::SetNullWaveSpeed(0);
        mm::SetNullMidiSpeed(0);
        mm::ResetNullWaveRecord();
        mm::ResetNullMidiRecord();
    }

    void TearDown() override
    {
        StopMusic(true);
        EXPECT_EQ(PlayingWaveCount(), 0u);
        EXPECT_EQ(mm::NullWaveSnapshot().devicesOpen, 0u);
        mm::SetNullWaveSpeed(1);
        mm::SetNullMidiSpeed(1);
    }
};

}  // namespace vellumry::sound::test
