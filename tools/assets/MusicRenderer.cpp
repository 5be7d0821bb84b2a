#include "tools/assets/MusicRenderer.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/Instruments.h"
#include "tools/assets/PingPongEcho.h"
#include "tools/assets/Score.h"
#include "tools/assets/StereoLoop.h"

namespace vellumry::assets {

namespace {

constexpr double kPeakLevel = 0.84;

// A dotted eighth: the repeats fall between the arpeggio's notes.
constexpr EchoSettings kEcho{3 * kFramesPerSixteenth, 0.38, 0.35, 0.55};

}  // namespace

std::vector<std::int16_t> RenderMusic()
{
    StereoLoop mix(kLoopFrames);
    StereoLoop send(kLoopFrames);
    for (const Note& note : ComposeScore())
        RenderNote(note, mix, send);
    AddPingPongEcho(send, kEcho, mix);

    double peak = 0;
    for (std::int64_t frame = 0; frame < kLoopFrames; ++frame)
        peak = std::max({peak, std::abs(mix.Left(frame)), std::abs(mix.Right(frame))});
    const double gain = peak > 0 ? kPeakLevel * 32767.0 / peak : 0.0;

    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(kLoopFrames) * kMusicChannels);
    for (std::int64_t frame = 0; frame < kLoopFrames; ++frame) {
        samples.push_back(static_cast<std::int16_t>(std::lround(mix.Left(frame) * gain)));
        samples.push_back(static_cast<std::int16_t>(std::lround(mix.Right(frame) * gain)));
    }
    return samples;
}

}  // namespace vellumry::assets
