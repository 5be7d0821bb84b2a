#pragma once

// Plays the score into one turn of the loop and turns it into 16-bit samples.

#include <cstdint>
#include <vector>

namespace vellumry::assets {

inline constexpr int kMusicChannels = 2;

// Interleaved left/right 16-bit samples, kLoopFrames frames. The loudest
// sample sits about 1.5 dB below full scale.
std::vector<std::int16_t> RenderMusic();

}  // namespace vellumry::assets
