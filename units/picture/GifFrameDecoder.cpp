#include "units/picture/private/GifFrameDecoder.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "units/picture/private/GifLzwDecoder.h"

namespace vellumry::units {
namespace {

// Interlaced rows come in four passes: every 8th row from 0, every 8th
// from 4, every 4th from 2, every 2nd from 1.
struct InterlacePass {
    std::uint32_t start;
    std::uint32_t step;
};
constexpr InterlacePass kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

}  // namespace

DecodeStatus DecodeGifFrame(const GifFrame& frame, std::uint32_t screenWidth, std::uint32_t screenHeight,
                            PictureBudget& budget, const GifRowSink& sink)
{
    if (frame.minimumCodeSize < kGifMinCodeSize || frame.minimumCodeSize > kGifMaxCodeSize)
        return Refuse("GIF minimum code size outside 2 to 8");
    // Rows from `needed` on lie below the screen.
    std::uint32_t needed = 0;
    if (frame.left < screenWidth && frame.top < screenHeight)
        needed = std::min<std::uint32_t>(frame.height, screenHeight - frame.top);
    if (frame.width == 0 || needed == 0)
        return Succeeded();
    if (!budget.Reserve(frame.width + sizeof(GifLzwDecoder)))
        return Refuse("picture needs too much memory");
    auto decoder = std::make_unique<GifLzwDecoder>(frame.minimumCodeSize, frame.data);
    std::vector<std::uint8_t> row(frame.width);

    const std::uint32_t visible = std::min<std::uint32_t>(frame.width, screenWidth - frame.left);
    auto emit = [&](std::uint32_t y) {
        std::size_t count = decoder->Read(row);
        if (y < needed && count > 0)
            sink(frame.left, frame.top + y, row.data(), std::min(static_cast<std::uint32_t>(count), visible));
        return count == row.size();
    };
    if (!frame.interlaced) {
        for (std::uint32_t y = 0; y < needed; ++y)
            if (!emit(y))
                break;
        return Succeeded();
    }
    // The passes after the last one that starts above `needed` hold no row
    // the screen shows; in that pass the rows end at `needed`; the passes
    // before it are read whole to get there.
    std::size_t lastPass = 0;
    for (std::size_t p = 0; p < std::size(kPasses); ++p)
        if (kPasses[p].start < needed)
            lastPass = p;
    for (std::size_t p = 0; p <= lastPass; ++p) {
        std::uint32_t end = p == lastPass ? needed : frame.height;
        for (std::uint32_t y = kPasses[p].start; y < end; y += kPasses[p].step)
            if (!emit(y))
                return Succeeded();
    }
    return Succeeded();
}

const GifColourTable* FrameColours(const GifFrame& frame, const GifColourTable& global, GifColourTable& local)
{
    if (!frame.localTable.empty()) {
        local = ReadGifColourTable(frame.localTable);
        return &local;
    }
    return global.count > 0 ? &global : nullptr;
}

}  // namespace vellumry::units
