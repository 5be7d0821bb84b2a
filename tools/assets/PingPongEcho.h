#pragma once

// A stereo echo whose repeats alternate between the sides, computed for a
// looping signal: the echoes of the end of the loop sound over its start.

#include <cstdint>

#include "tools/assets/StereoLoop.h"

namespace vellumry::assets {

struct EchoSettings {
    std::int64_t delayFrames = 0;
    double feedback = 0;  // level of each repeat relative to the one before
    double damping = 0;   // 0: repeats keep their brightness; towards 1: darker
    double wet = 0;       // level of the echoes added to the output
};

// Adds the echoes of `input` to `output`. The loop is run through the delay
// line twice and the second turn is kept: by then the echo has reached the
// state it is in every time the loop comes round (after one turn the
// leftover of the start, feedback^(turn / delay), is far below one bit).
void AddPingPongEcho(const StereoLoop& input, const EchoSettings& settings, StereoLoop& output);

}  // namespace vellumry::assets
