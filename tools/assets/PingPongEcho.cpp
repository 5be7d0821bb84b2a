#include "tools/assets/PingPongEcho.h"

#include <vector>

namespace vellumry::assets {

void AddPingPongEcho(const StereoLoop& input, const EchoSettings& settings, StereoLoop& output)
{
    const auto delay = static_cast<std::size_t>(settings.delayFrames);
    // The left line takes the input and the damped return of the right line;
    // the right line takes what leaves the left one.
    std::vector<double> leftLine(delay, 0.0);
    std::vector<double> rightLine(delay, 0.0);
    double damped = 0;
    std::size_t position = 0;
    const std::int64_t frames = input.Frames();
    for (int turn = 0; turn < 2; ++turn) {
        for (std::int64_t frame = 0; frame < frames; ++frame) {
            const double fromLeft = leftLine[position];
            const double fromRight = rightLine[position];
            damped += (1.0 - settings.damping) * (fromRight - damped);
            const double mono = 0.5 * (input.Left(frame) + input.Right(frame));
            leftLine[position] = mono + settings.feedback * damped;
            rightLine[position] = fromLeft;
            if (turn == 1)
                output.Add(frame, settings.wet * fromLeft, settings.wet * fromRight);
            position = (position + 1) % delay;
        }
    }
}

}  // namespace vellumry::assets
