#include "units/picture/private/GifReader.h"

#include <cstring>

#include "units/picture/private/GifFrameDecoder.h"
#include "units/picture/private/IndexedLayout.h"

namespace vellumry::units {

bool SniffGif(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 6 &&
           (std::memcmp(bytes.data(), "GIF87a", 6) == 0 || std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

std::pair<std::uint32_t, std::uint32_t> GifCanvasSize(const GifStream& stream, const GifFrame& first)
{
    std::uint32_t width = stream.Width() ? stream.Width() : std::uint32_t{first.left} + first.width;
    std::uint32_t height = stream.Height() ? stream.Height() : std::uint32_t{first.top} + first.height;
    return {width, height};
}

DecodeResult<DecodedPicture> DecodeGif(std::span<const std::uint8_t> bytes)
{
    auto stream = GifStream::Open(bytes);
    if (!stream)
        return stream.Failure();
    GifFrame frame;
    if (stream->NextFrame(frame) != GifStream::Next::Frame)
        return Refuse("GIF holds no frame");
    const auto screen = GifCanvasSize(*stream, frame);
    const std::uint32_t width = screen.first;
    const std::uint32_t height = screen.second;
    if (!SidesAllowed(width, height))
        return Refuse("picture size empty or too large");
    GifColourTable local;
    const GifColourTable* colours = FrameColours(frame, stream->GlobalTable(), local);
    if (!colours)
        return Refuse("GIF has no colour table");

    PictureBudget budget;
    auto picture = MakeIndexedPicture(PictureKind::Gif, width, height, colours->colours, stream->BackgroundIndex(),
                                      budget);
    if (!picture)
        return picture;
    const std::optional<std::uint8_t> transparent = frame.transparentIndex;
    auto status = DecodeGifFrame(frame, width, height, budget,
                                 [&](std::uint32_t x, std::uint32_t y, const std::uint8_t* indexes, std::uint32_t n) {
                                     std::uint8_t* out = IndexedRow(*picture, y) + x;
                                     if (!transparent) {
                                         std::memcpy(out, indexes, n);
                                         return;
                                     }
                                     for (std::uint32_t i = 0; i < n; ++i)
                                         if (indexes[i] != *transparent)
                                             out[i] = indexes[i];
                                 });
    if (!status)
        return status.Failure();
    return picture;
}

}  // namespace vellumry::units
