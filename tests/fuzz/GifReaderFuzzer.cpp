// Fuzz target: GIF streams, both as the still first frame and through the
// animator, stepping every frame (disposal, transparency, LZW of each frame)
// and once round again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "tests/fuzz/PictureInvariants.h"
#include "units/picture/GifAnimator.h"
#include "units/picture/private/GifReader.h"

using namespace vellumry::units;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    auto still = DecodeGif(bytes);
    if (still)
        vellumry::test::CheckPicture(*still);
    // The animator's canvases cost four bytes a pixel three times over;
    // large screens go through the still decoder only, which decodes the
    // same frames, so that the run stays fast.
    if (still && std::uint64_t{still->width} * still->height > (std::uint64_t{1} << 20))
        return 0;
    auto animator = GifAnimator::Create(bytes);
    // What the animator takes the still decoder takes too (the animator
    // needs more memory, so it may refuse more).
    if (animator && !still)
        std::abort();
    if (!animator)
        return 0;
    GifAnimator& animation = **animator;
    if (animation.Width() != still->width || animation.Height() != still->height)
        std::abort();
    // Each step copies the canvas; the work is capped so that large
    // screens do not make the run slow.
    std::uint64_t pixels = std::uint64_t{animation.Width()} * animation.Height();
    std::uint64_t budget = std::uint64_t{1} << 26;
    for (std::size_t step = 0; step < animation.FrameCount() + 1 && step < 256 && budget >= pixels; ++step) {
        budget -= pixels;
        if (!animation.Step())
            break;
        auto frame = animation.CurrentFrame();
        if (frame->pixels.size() != std::size_t{frame->width} * frame->height * 4)
            std::abort();
    }
    return 0;
}
