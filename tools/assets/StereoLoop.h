#pragma once

// A stereo signal that is one turn of a loop: writing past its end continues
// at its start. Notes that ring on past the last frame therefore sound over
// the first frames, exactly as they do when playback wraps around, and the
// loop point has no seam.

#include <cstdint>
#include <vector>

namespace vellumry::assets {

class StereoLoop {
public:
    explicit StereoLoop(std::int64_t frames) : m_frames(frames), m_samples(static_cast<std::size_t>(frames) * 2, 0.0) {}

    std::int64_t Frames() const { return m_frames; }

    // Adds to the frame at `frame` modulo the length; any frame index is allowed.
    void Add(std::int64_t frame, double left, double right)
    {
        const std::size_t i = Index(frame);
        m_samples[i] += left;
        m_samples[i + 1] += right;
    }

    double Left(std::int64_t frame) const { return m_samples[Index(frame)]; }
    double Right(std::int64_t frame) const { return m_samples[Index(frame) + 1]; }

private:
    std::size_t Index(std::int64_t frame) const
    {
        std::int64_t wrapped = frame % m_frames;
        if (wrapped < 0)
            wrapped += m_frames;
        return static_cast<std::size_t>(wrapped) * 2;
    }

    std::int64_t m_frames;
    std::vector<double> m_samples;  // interleaved left, right
};

}  // namespace vellumry::assets
