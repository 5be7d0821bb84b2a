#pragma once

// WAV music played from memory through wave-out, streamed in pieces.
//
// Each playing WAV has its own player and feeder thread. The player reads
// its samples where they lie (MusicBytes keeps them alive until the feeder
// has ended) and hands them to the device in pieces of 15360 bytes through
// 20 rotating headers, so at most 307200 bytes are queued at any time. The
// device's WOM_DONE callback counts a header free (under the player's lock)
// and releases a semaphore once; the feeder waits for that semaphore or the
// player's stop event, at most 8888 ms: a device that stays silent that long
// ends the player, as does the lack of any device (the player then runs
// without one until that limit). At the end of the data the feeder waits
// until all 20 headers are back, then either starts again from the first
// sample (loop) or ends. All live players are kept in one process-wide list
// under one lock. The feeder opens the device itself, so a slow sound server
// never holds up the caller (the window thread, at start-up).
//
// Any thread may call.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/MusicBytes.h"

namespace vellumry::sound {

inline constexpr int kWaveHeaderCount = 20;
inline constexpr std::size_t kWavePieceSize = 15360;
inline constexpr std::chrono::milliseconds kWaveSilenceLimit{8888};

// Starts a player; false when the data is not playable WAV (WaveLayout.h),
// or its memory or thread cannot be had. Earlier players keep playing.
bool PlayWave(MusicBytes music, bool loop);
// As PlayWave, for bytes whose holder makes no promise how long they live:
// the format and the samples are copied first.
bool PlayWaveCopy(std::span<const std::uint8_t> data, bool loop);

// Tells every player to stop (its feeder pauses and resets the device and
// ends). With `wait`, returns only once every feeder thread has ended.
void StopAllWaves(bool wait);

// The players in the process-wide list.
std::size_t PlayingWaveCount();

}  // namespace vellumry::sound
