#include "units/picture/GifAnimator.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "units/picture/private/GifFrameDecoder.h"
#include "units/picture/private/GifReader.h"
#include "units/picture/private/GifStream.h"

namespace vellumry::units {
namespace {

// The canvas, the copy a "restore previous" frame needs, and the published
// frame a painter may still hold while the next one is made.
constexpr std::uint64_t kCanvasCopies = 3;
constexpr std::uint16_t kShortestDelay = 2;
constexpr std::chrono::milliseconds kDefaultDelay{100};

}  // namespace

DecodeResult<std::unique_ptr<GifAnimator>> GifAnimator::Create(std::span<const std::uint8_t> bytes)
{
    try {
        std::unique_ptr<GifAnimator> animator(new GifAnimator);
        PictureBudget budget;
        if (!budget.Reserve(bytes.size()))
            return Refuse("picture needs too much memory");
        animator->m_bytes.assign(bytes.begin(), bytes.end());
        auto stream = GifStream::Open(animator->m_bytes);
        if (!stream)
            return stream.Failure();
        GifFrame first;
        if (stream->NextFrame(first) != GifStream::Next::Frame)
            return Refuse("GIF holds no frame");
        auto [width, height] = GifCanvasSize(*stream, first);
        if (!SidesAllowed(width, height))
            return Refuse("picture size empty or too large");
        GifColourTable local;
        if (!FrameColours(first, stream->GlobalTable(), local))
            return Refuse("GIF has no colour table");
        for (std::uint64_t i = 0; i < kCanvasCopies; ++i)
            if (!budget.ReserveRows(height, std::uint64_t{width} * 4))
                return Refuse("picture needs too much memory");

        animator->m_width = width;
        animator->m_height = height;
        animator->m_global = std::make_unique<GifColourTable>(stream->GlobalTable());
        animator->m_frames.push_back(first);
        GifFrame frame;
        while (stream->NextFrame(frame) == GifStream::Next::Frame && budget.Reserve(sizeof(GifFrame)))
            animator->m_frames.push_back(frame);
        animator->m_loopCount = stream->LoopCount();

        animator->m_canvas.assign(std::size_t{width} * height * 4, 0);
        if (first.disposal == GifDisposal::Previous)
            animator->m_saved = animator->m_canvas;
        if (auto drawn = animator->Draw(first); !drawn)
            return drawn.Failure();
        animator->Publish();
        return animator;
    } catch (const std::bad_alloc&) {
        return Refuse("out of memory");
    }
}

GifAnimator::~GifAnimator()
{
    Stop();
}

std::size_t GifAnimator::FrameCount() const
{
    return m_frames.size();
}

std::shared_ptr<const AnimationFrame> GifAnimator::CurrentFrame() const
{
    std::lock_guard guard(m_lock);
    return m_published;
}

std::chrono::milliseconds GifAnimator::CurrentDelay() const
{
    std::uint16_t delay = m_frames[m_current].delay;
    return delay < kShortestDelay ? kDefaultDelay : std::chrono::milliseconds(delay * 10);
}

void GifAnimator::Dispose(const GifFrame& frame)
{
    switch (frame.disposal) {
    case GifDisposal::Background: {
        // Back to the background: cleared, so the unit's colour shows.
        std::uint32_t right = std::min<std::uint32_t>(m_width, std::uint32_t{frame.left} + frame.width);
        std::uint32_t bottom = std::min<std::uint32_t>(m_height, std::uint32_t{frame.top} + frame.height);
        for (std::uint32_t y = frame.top; y < bottom; ++y)
            if (frame.left < right)
                std::fill_n(m_canvas.begin() + (std::size_t{y} * m_width + frame.left) * 4,
                            std::size_t{right - frame.left} * 4, std::uint8_t{0});
        break;
    }
    case GifDisposal::Previous:
        if (m_saved.size() == m_canvas.size())
            m_canvas = m_saved;
        break;
    case GifDisposal::None:
    case GifDisposal::Keep:
        break;
    }
}

DecodeStatus GifAnimator::Draw(const GifFrame& frame)
{
    GifColourTable local;
    const GifColourTable* colours = FrameColours(frame, *m_global, local);
    if (!colours)
        return Succeeded();  // a frame without colours draws nothing
    const std::optional<std::uint8_t> transparent = frame.transparentIndex;
    PictureBudget rows;
    return DecodeGifFrame(frame, m_width, m_height, rows,
                          [&](std::uint32_t x, std::uint32_t y, const std::uint8_t* indexes, std::uint32_t n) {
                              std::uint8_t* out = m_canvas.data() + (std::size_t{y} * m_width + x) * 4;
                              for (std::uint32_t i = 0; i < n; ++i, out += 4) {
                                  if (transparent && indexes[i] == *transparent)
                                      continue;
                                  const RgbQuad& c = colours->colours[indexes[i]];
                                  out[0] = c.blue;
                                  out[1] = c.green;
                                  out[2] = c.red;
                                  out[3] = 255;
                              }
                          });
}

void GifAnimator::Publish()
{
    auto frame = std::make_shared<AnimationFrame>();
    frame->width = m_width;
    frame->height = m_height;
    frame->pixels = m_canvas;
    std::lock_guard guard(m_lock);
    m_published = std::move(frame);
}

bool GifAnimator::Step()
{
    if (m_frames.size() <= 1)
        return false;
    std::size_t next = m_current + 1;
    if (next == m_frames.size()) {
        bool again = m_loopCount && (*m_loopCount == 0 || m_playsDone < *m_loopCount);
        if (!again)
            return false;
        ++m_playsDone;
        next = 0;
    }
    try {
        Dispose(m_frames[m_current]);
        if (next == 0)
            std::fill(m_canvas.begin(), m_canvas.end(), std::uint8_t{0});
        if (m_frames[next].disposal == GifDisposal::Previous)
            m_saved = m_canvas;
        Draw(m_frames[next]);
        m_current = next;
        Publish();
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void GifAnimator::Start(std::function<void()> onFrame)
{
    if (m_thread.joinable() || m_frames.size() <= 1)
        return;
    {
        std::lock_guard guard(m_lock);
        m_stopping = false;
    }
    m_onFrame = std::move(onFrame);
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread: the first frame stays, as for a still picture.
    }
}

void GifAnimator::Stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void GifAnimator::Run()
{
    std::unique_lock lock(m_lock);
    while (!m_stopping) {
        if (m_wake.wait_for(lock, CurrentDelay(), [this] { return m_stopping; }))
            break;
        lock.unlock();
        bool stepped = Step();
        if (stepped && m_onFrame)
            m_onFrame();
        lock.lock();
        if (!stepped)
            break;
    }
}

}  // namespace vellumry::units
