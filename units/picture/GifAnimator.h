#pragma once

// Plays an animated GIF: keeps the stream and its colour tables, composes
// the frames one after another on a canvas of the logical screen (with each
// frame's transparency and disposal), and publishes each finished frame for
// drawing. A thread of its own steps the frames after their delays.
//
// Threads: Create, Start, Stop and the destructor on one owning thread (the
// unit's window thread). CurrentFrame from any thread. Step belongs to the
// animation thread while it runs, and to the owner otherwise. `onFrame`
// runs on the animation thread and must not wait for the owner's thread:
// Stop waits for the animation thread, and after Stop returns, onFrame is
// neither running nor called again.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "units/picture/DecodeResult.h"

namespace vellumry::units {

struct GifFrame;
struct GifColourTable;

// A composed frame: blue-green-red-alpha pixels, rows top-down, alpha 0
// where no frame has drawn (the unit's background shows there).
struct AnimationFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

class GifAnimator {
public:
    // Reads the stream and composes the first frame. Fails where the still
    // decoder fails; a later frame whose structure is broken ends the
    // animation before it.
    static DecodeResult<std::unique_ptr<GifAnimator>> Create(std::span<const std::uint8_t> bytes);
    ~GifAnimator();
    GifAnimator(const GifAnimator&) = delete;
    GifAnimator& operator=(const GifAnimator&) = delete;

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    std::size_t FrameCount() const;
    std::size_t CurrentIndex() const { return m_current; }

    std::shared_ptr<const AnimationFrame> CurrentFrame() const;

    // How long the current frame stays: its delay, or 100 ms for delays of
    // 0 and 1 hundredths, which encoders write to mean "as fast as allowed".
    std::chrono::milliseconds CurrentDelay() const;

    // Composes and publishes the next frame, wrapping round to the first
    // while the loop count allows (no looping extension: one play; 0:
    // forever; n: n repeats). False, with nothing changed, when the
    // animation has ended or has a single frame.
    bool Step();

    // Starts the animation thread; nothing happens for a single frame or
    // when it already runs.
    void Start(std::function<void()> onFrame);
    // Stops the thread and waits for it.
    void Stop();
    bool Running() const { return m_thread.joinable(); }

private:
    GifAnimator() = default;
    void Run();
    void Dispose(const GifFrame& frame);
    DecodeStatus Draw(const GifFrame& frame);
    void Publish();

    std::vector<std::uint8_t> m_bytes;
    std::vector<GifFrame> m_frames;
    std::unique_ptr<GifColourTable> m_global;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::optional<std::uint16_t> m_loopCount;
    std::uint32_t m_playsDone = 0;
    std::size_t m_current = 0;

    std::vector<std::uint8_t> m_canvas;
    std::vector<std::uint8_t> m_saved;  // the canvas before a frame that restores it

    mutable std::mutex m_lock;
    std::shared_ptr<const AnimationFrame> m_published;  // guarded by m_lock
    bool m_stopping = false;                            // guarded by m_lock
    std::condition_variable m_wake;
    std::function<void()> m_onFrame;
    std::thread m_thread;
};

}  // namespace vellumry::units
