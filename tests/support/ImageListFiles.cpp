#include "tests/support/ImageListFiles.h"

namespace vellumry::test {
namespace {

// The images laid out in rows of `columns`, as top-down rows of values.
template <typename Pixel>
std::vector<std::vector<std::uint32_t>> Sheet(const ImageListDraft& draft, const std::vector<std::vector<Pixel>>& per,
                                              std::uint32_t (*value)(Pixel))
{
    int count = static_cast<int>(draft.images.size());
    int rows = std::max(1, (count + draft.columns - 1) / draft.columns);
    std::vector<std::vector<std::uint32_t>> sheet(static_cast<std::size_t>(rows * draft.height),
                                                  std::vector<std::uint32_t>(static_cast<std::size_t>(draft.columns * draft.width)));
    for (int i = 0; i < count; ++i) {
        int left = i % draft.columns * draft.width;
        int top = i / draft.columns * draft.height;
        for (int y = 0; y < draft.height; ++y)
            for (int x = 0; x < draft.width; ++x)
                sheet[static_cast<std::size_t>(top + y)][static_cast<std::size_t>(left + x)] =
                    value(per[static_cast<std::size_t>(i)][static_cast<std::size_t>(y * draft.width + x)]);
    }
    return sheet;
}

Bytes SheetBmp(const std::vector<std::vector<std::uint32_t>>& sheet, std::uint16_t bitCount)
{
    BmpDraft bmp;
    bmp.width = static_cast<std::int32_t>(sheet.front().size());
    bmp.height = static_cast<std::int32_t>(sheet.size());
    bmp.bitCount = bitCount;
    if (bitCount == 1)
        bmp.palette = {0x000000, 0xFFFFFF};
    bmp.pixels = DibRows(sheet, bitCount);
    return BmpFileBytes(bmp);
}

}  // namespace

Bytes ImageListStreamBytes(const ImageListDraft& draft)
{
    bool masked = !draft.seeThrough.empty();
    Bytes out;
    Put16(out, 0x4C49);
    Put16(out, draft.version);
    auto count = draft.count.value_or(static_cast<std::uint16_t>(draft.images.size()));
    Put16(out, count);
    Put16(out, count);  // capacity
    Put16(out, 4);      // growth step
    Put16(out, static_cast<std::uint32_t>(draft.width));
    Put16(out, static_cast<std::uint32_t>(draft.height));
    Put32(out, draft.background);
    Put16(out, masked || draft.maskFlagWithoutMask ? 0x0001 : 0x0000);
    for (int i = 0; i < 4; ++i)
        Put16(out, 0xFFFF);
    Bytes colours = SheetBmp(Sheet<Rgb>(draft, draft.images, [](Rgb c) { return std::uint32_t{c}; }), 24);
    out.insert(out.end(), colours.begin(), colours.end());
    if (masked) {
        Bytes mask = SheetBmp(Sheet<bool>(draft, draft.seeThrough, [](bool b) { return b ? 1u : 0u; }), 1);
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

Bytes ImageListBlobBytes(const ImageListDraft& draft)
{
    Bytes blob{'M', 'I', 'T', 'L', 0x11, 0x22, 0x33, 0x44};
    Bytes stream = ImageListStreamBytes(draft);
    blob.insert(blob.end(), stream.begin(), stream.end());
    return blob;
}

ImageListDraft PlainImages(int width, int height, const std::vector<Rgb>& colours)
{
    ImageListDraft draft;
    draft.width = width;
    draft.height = height;
    for (Rgb colour : colours)
        draft.images.emplace_back(static_cast<std::size_t>(width * height), colour);
    return draft;
}

}  // namespace vellumry::test
