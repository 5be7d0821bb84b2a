#pragma once

// The null wave-out device (selected with SoundDevices::Null): it plays
// nothing, takes the bytes it is given at a pace the caller sets, and keeps a
// record of what was queued on it, so tests and benchmarks can play music
// without a sound card and watch what the player does.
//
// Pace: at speed 1 it takes bytes at the format's byte rate (real time),
// holding at most a tenth of a second ahead as a sound card would; speed 2
// is twice as fast, and so on. At speed 0 it takes only the bytes granted by
// GrantNullWaveBytes (shared by all open null devices), so a test decides
// when each buffer comes back, or that none ever does.
//
// Any thread may call.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vellumry::mm {

void SetNullWaveSpeed(double speed);
void GrantNullWaveBytes(std::size_t bytes);

// One waveOutWrite on a null device.
struct NullWaveWrite {
    std::uint64_t device = 0;          // 1, 2, ... in the order the null devices were opened, for good
    std::vector<std::uint8_t> start;   // the buffer's first bytes (at most kNullWaveRecordedBytes)
    std::size_t length = 0;
    std::size_t headersQueuedBefore = 0;
};
inline constexpr std::size_t kNullWaveRecordedBytes = 64;

struct NullWaveRecord {
    std::uint64_t devicesOpened = 0;
    std::uint64_t devicesOpen = 0;
    std::uint64_t buffersReturned = 0;   // by the device or by a reset
    std::size_t maxBytesQueued = 0;      // on any one device, at any time
    std::uint64_t bytesTaken = 0;        // bytes the null devices have taken ("played")
    std::vector<NullWaveWrite> writes;
};

NullWaveRecord NullWaveSnapshot();
// Clears the record and the granted bytes; devices still open stay counted
// as open.
void ResetNullWaveRecord();
// Waits until `condition` holds for the record; false when `timeout` passed
// first.
bool WaitForNullWave(const std::function<bool(const NullWaveRecord&)>& condition, std::chrono::milliseconds timeout);

}  // namespace vellumry::mm
