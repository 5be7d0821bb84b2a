#include "units/picture/private/GifFrameDecoder.h"

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

DecodeStatus DecodeGifFrame(const GifFrame& frame, PictureBudget& budget, const GifRowSink& sink)
{
    if (frame.minimumCodeSize < kGifMinCodeSize || frame.minimumCodeSize > kGifMaxCodeSize)
        return Refuse("GIF minimum code size outside 2 to 8");
    if (frame.width == 0 || frame.height == 0)
        return Succeeded();
    if (!budget.Reserve(frame.width + sizeof(GifLzwDecoder)))
        return Refuse("picture needs too much memory");
    auto decoder = std::make_unique<GifLzwDecoder>(frame.minimumCodeSize, frame.data);
    std::vector<std::uint8_t> row(frame.width);

    auto emit = [&](std::uint32_t y) {
        std::size_t count = decoder->Read(row);
        if (count > 0)
            sink(y, row.data(), static_cast<std::uint32_t>(count));
        return count == row.size();
    };
    if (!frame.interlaced) {
        for (std::uint32_t y = 0; y < frame.height; ++y)
            if (!emit(y))
                return Succeeded();
        return Succeeded();
    }
    for (const InterlacePass& pass : kPasses)
        for (std::uint32_t y = pass.start; y < frame.height; y += pass.step)
            if (!emit(y))
                return Succeeded();
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
