// Animated GIFs: frames composed one after another with their disposal and
// transparency, delays, loop counts, and the animation thread's start and
// stop.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/support/CaseTable.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/GifAnimator.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;
using vellumry::test::PrintTo;

constexpr Rgb kNone = 0xFF000000;  // a pixel no frame has drawn
const std::vector<Rgb> kTable = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

GifFrameDraft Solid(int left, int top, int width, int height, std::uint8_t index, int disposal)
{
    GifFrameDraft frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indexes.assign(static_cast<std::size_t>(width) * height, index);
    frame.disposal = disposal;
    frame.delay = 2;
    return frame;
}

GifDraft Screen(int width, int height, std::vector<GifFrameDraft> frames, std::optional<int> loopCount = std::nullopt)
{
    GifDraft draft;
    draft.width = width;
    draft.height = height;
    draft.globalTable = kTable;
    draft.loopCount = loopCount;
    draft.frames = std::move(frames);
    return draft;
}

std::unique_ptr<GifAnimator> Animate(GifDraft draft)
{
    auto animator = GifAnimator::Create(GifFileBytes(draft));
    EXPECT_TRUE(animator) << animator.Reason();
    return animator ? std::move(*animator) : nullptr;
}

// The current frame as rows of colours, kNone where alpha is 0.
std::vector<std::vector<Rgb>> Shown(const GifAnimator& animator)
{
    auto frame = animator.CurrentFrame();
    std::vector<std::vector<Rgb>> rows(frame->height, std::vector<Rgb>(frame->width));
    for (std::uint32_t y = 0; y < frame->height; ++y)
        for (std::uint32_t x = 0; x < frame->width; ++x) {
            const std::uint8_t* p = &frame->pixels[(y * frame->width + x) * 4];
            rows[y][x] = p[3] == 0 ? kNone : (Rgb{p[2]} << 16) | (Rgb{p[1]} << 8) | p[0];
        }
    return rows;
}

constexpr Rgb R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, N = kNone;

TEST(GifAnimator, ComposesFramesWithEachDisposal)
{
    GifDraft draft = Screen(4, 4,
                          {Solid(0, 0, 4, 4, 1, 1),   // red everywhere, kept
                           Solid(0, 0, 2, 2, 2, 2),   // green top left, then cleared to the background
                           Solid(2, 2, 2, 2, 3, 3),   // blue bottom right, then the canvas before it restored
                           Solid(3, 0, 1, 1, 4, 0)},  // one white pixel
                          0);
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    EXPECT_EQ(animator->FrameCount(), 4u);
    using Rows = std::vector<std::vector<Rgb>>;
    EXPECT_EQ(Shown(*animator), (Rows{{R, R, R, R}, {R, R, R, R}, {R, R, R, R}, {R, R, R, R}}));
    ASSERT_TRUE(animator->Step());
    EXPECT_EQ(Shown(*animator), (Rows{{G, G, R, R}, {G, G, R, R}, {R, R, R, R}, {R, R, R, R}}));
    ASSERT_TRUE(animator->Step());
    EXPECT_EQ(Shown(*animator), (Rows{{N, N, R, R}, {N, N, R, R}, {R, R, B, B}, {R, R, B, B}}));
    ASSERT_TRUE(animator->Step());
    EXPECT_EQ(Shown(*animator), (Rows{{N, N, R, W}, {N, N, R, R}, {R, R, R, R}, {R, R, R, R}}));
    // Round again: the canvas starts empty and the first frame covers it.
    ASSERT_TRUE(animator->Step());
    EXPECT_EQ(animator->CurrentIndex(), 0u);
    EXPECT_EQ(Shown(*animator), (Rows{{R, R, R, R}, {R, R, R, R}, {R, R, R, R}, {R, R, R, R}}));
}

TEST(GifAnimator, TransparentPixelsLeaveWhatIsBeneath)
{
    GifFrameDraft second = Solid(0, 0, 2, 1, 0, 0);
    second.indexes = {0, 3};
    second.transparent = 0;
    GifDraft draft = Screen(2, 1, {Solid(0, 0, 2, 1, 1, 1), second});
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    ASSERT_TRUE(animator->Step());
    EXPECT_EQ(Shown(*animator), (std::vector<std::vector<Rgb>>{{R, B}}));
}

struct LoopRow {
    const char* label;
    std::optional<int> loopCount;
    int stepsBeforeTheEnd;  // -1: never ends
};

class GifLoopTest : public ::testing::TestWithParam<LoopRow> {};

TEST_P(GifLoopTest, PlaysAsOftenAsTheLoopCountSays)
{
    GifDraft draft = Screen(1, 1, {Solid(0, 0, 1, 1, 1, 0), Solid(0, 0, 1, 1, 2, 0), Solid(0, 0, 1, 1, 3, 0)},
                          GetParam().loopCount);
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    int steps = 0;
    while (steps < 50 && animator->Step())
        ++steps;
    int expected = GetParam().stepsBeforeTheEnd;
    EXPECT_EQ(steps, expected < 0 ? 50 : expected);
    if (expected >= 0) {
        // Ended on the last frame, and stays there.
        EXPECT_EQ(animator->CurrentIndex(), 2u);
        EXPECT_FALSE(animator->Step());
    }
}

INSTANTIATE_TEST_SUITE_P(Loops, GifLoopTest,
                         ::testing::Values(LoopRow{"NoExtensionPlaysOnce", std::nullopt, 2},
                                           LoopRow{"ZeroLoopsForever", 0, -1},
                                           LoopRow{"OneRepeatPlaysTwice", 1, 5},
                                           LoopRow{"ThreeRepeats", 3, 11}),
                         vellumry::test::RowLabel());

TEST(GifAnimator, DelaysComeFromTheFrames)
{
    GifDraft draft = Screen(1, 1, {Solid(0, 0, 1, 1, 1, 0), Solid(0, 0, 1, 1, 2, 0), Solid(0, 0, 1, 1, 3, 0)}, 0);
    draft.frames[0].delay = 25;
    draft.frames[1].delay = 0;
    draft.frames[2].delay = 1;
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    EXPECT_EQ(animator->CurrentDelay(), std::chrono::milliseconds(250));
    animator->Step();
    EXPECT_EQ(animator->CurrentDelay(), std::chrono::milliseconds(100));
    animator->Step();
    EXPECT_EQ(animator->CurrentDelay(), std::chrono::milliseconds(100));
}

TEST(GifAnimator, ASingleFrameDoesNotAnimate)
{
    GifDraft draft = Screen(1, 1, {Solid(0, 0, 1, 1, 1, 0)});
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    EXPECT_FALSE(animator->Step());
    animator->Start([] {});
    EXPECT_FALSE(animator->Running());
}

TEST(GifAnimator, ABrokenLaterFrameEndsTheAnimationBeforeIt)
{
    GifDraft draft = Screen(2, 2, {Solid(0, 0, 2, 2, 1, 0), Solid(0, 0, 2, 2, 2, 0), Solid(0, 0, 2, 2, 3, 0)});
    Bytes file = GifFileBytes(draft);
    // Cut inside the third frame's image descriptor.
    std::size_t third = 0;
    for (std::size_t i = 0, seen = 0; i < file.size(); ++i)
        if (file[i] == 0x2C && ++seen == 3) {
            third = i;
            break;
        }
    ASSERT_GT(third, 0u);
    file.resize(third + 4);
    auto animator = GifAnimator::Create(file);
    ASSERT_TRUE(animator) << animator.Reason();
    EXPECT_EQ((*animator)->FrameCount(), 2u);
}

TEST(GifAnimator, RefusesWhatTheStillDecoderRefuses)
{
    EXPECT_EQ(GifAnimator::Create(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0, 0}).Reason(),
              "GIF colour table runs past the end");
    GifDraft draft = Screen(1, 1, {Solid(0, 0, 1, 1, 1, 0)});
    draft.frames[0].minimumCodeSize = 12;
    EXPECT_EQ(GifAnimator::Create(GifFileBytes(draft)).Reason(), "GIF minimum code size outside 2 to 8");
}

TEST(GifAnimator, TheThreadStepsFramesUntilStopped)
{
    GifDraft draft = Screen(2, 2, {Solid(0, 0, 2, 2, 1, 0), Solid(0, 0, 2, 2, 2, 0)}, 0);
    auto animator = Animate(draft);
    ASSERT_TRUE(animator);
    std::mutex lock;
    std::condition_variable changed;
    int frames = 0;
    animator->Start([&] {
        std::lock_guard guard(lock);
        ++frames;
        changed.notify_all();
    });
    EXPECT_TRUE(animator->Running());
    {
        std::unique_lock wait(lock);
        ASSERT_TRUE(changed.wait_for(wait, std::chrono::seconds(30), [&] { return frames >= 3; }));
    }
    animator->Stop();
    EXPECT_FALSE(animator->Running());
    int stopped = 0;
    {
        std::lock_guard guard(lock);
        stopped = frames;
    }
    // Several frame delays later nothing more has been called.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard guard(lock);
    EXPECT_EQ(frames, stopped);
    // A stopped animation can start again.
    animator->Start([] {});
    EXPECT_TRUE(animator->Running());
}

}  // namespace
