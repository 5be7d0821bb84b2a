#pragma once

// What the wave-out device thread needs of an output device: the ALSA PCM
// device or the null device. Every call is made with the device's lock held,
// so a backend is never entered by two threads at once.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>

#include "platform/sound/MmSystem.h"
#include "platform/sound/private/WaveFormat.h"

namespace vellumry::mm {

class WaveBackend {
public:
    virtual ~WaveBackend() = default;

    // Takes as many whole frames of `bytes` as the device can take now and
    // returns the number of bytes taken; 0 when it is full.
    virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
    // How long the device thread sleeps before offering more after a Write
    // that took less than offered.
    virtual std::chrono::microseconds RetryDelay() const = 0;
    // Nothing more is queued for now: start playing what the device holds.
    virtual void Drain() {}
    virtual void Pause() = 0;
    // Drops what the device holds; it is ready for new data.
    virtual void Reset() = 0;

    // A buffer was queued and a queued buffer came back; the null device
    // keeps a record of them for tests.
    virtual void Queued(std::span<const std::uint8_t> bytes, std::size_t headersBefore, std::size_t bytesQueued)
    {
        (void)bytes, (void)headersBefore, (void)bytesQueued;
    }
    virtual void Returned(std::size_t bytesQueued) { (void)bytesQueued; }
};

// Wakes the device thread of the backend's device (the null device calls it
// when tests grant it bytes).
using WakeDevice = std::function<void()>;

// The default ALSA PCM device (or the one named by VELLUMRY_ALSA_PCM).
MMRESULT OpenAlsaPcm(const WaveFormat& format, std::unique_ptr<WaveBackend>& backend);
// True when the ALSA PCM device exists (it opens, or it is busy).
bool AlsaPcmPresent();

std::unique_ptr<WaveBackend> OpenNullWave(const WaveFormat& format, WakeDevice wake);

}  // namespace vellumry::mm
