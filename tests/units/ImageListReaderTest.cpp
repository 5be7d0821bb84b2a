// Image lists read from their stored blobs: the images cut from the sheet in
// their order, the mask made transparency, and every kind of broken stream
// refused without reading outside it.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/support/ImageListFiles.h"
#include "units/listview/ImageListReader.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;

// Blue, green, red, alpha of pixel (x, y) of image `index`.
std::vector<int> Pixel(const units::ImageList& list, int index, int x, int y)
{
    const auto& image = list.images.at(static_cast<std::size_t>(index));
    std::size_t at = (static_cast<std::size_t>(y) * list.width + x) * 4;
    return {image[at], image[at + 1], image[at + 2], image[at + 3]};
}

TEST(ImageListReader, CutsTheImagesFromTheSheetInRowsOfItsColumns)
{
    // Six images of 3 × 2 in rows of four: the fifth and sixth on the second
    // row. Each pixel tells its image and place.
    ImageListDraft draft;
    draft.width = 3;
    draft.height = 2;
    for (int i = 0; i < 6; ++i) {
        std::vector<Rgb> pixels;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                pixels.push_back(static_cast<Rgb>(i * 0x100000 + y * 0x10 + x * 0x1000 + 0x03));
        draft.images.push_back(pixels);
    }
    draft.background = 0x00ABCDEF;
    auto list = units::ReadImageList(ImageListBlobBytes(draft));
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->width, 3u);
    EXPECT_EQ(list->height, 2u);
    EXPECT_EQ(list->background, 0x00ABCDEFu);
    ASSERT_EQ(list->Count(), 6);
    EXPECT_TRUE(list->Has(5));
    EXPECT_FALSE(list->Has(6));
    EXPECT_FALSE(list->Has(-1));
    for (int i = 0; i < 6; ++i)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                Rgb expected = static_cast<Rgb>(i * 0x100000 + y * 0x10 + x * 0x1000 + 0x03);
                EXPECT_EQ(Pixel(*list, i, x, y), (std::vector<int>{static_cast<int>(expected & 0xFF),
                                                                   static_cast<int>((expected >> 8) & 0xFF),
                                                                   static_cast<int>(expected >> 16), 255}))
                    << "image " << i << " at " << x << "," << y;
            }
}

TEST(ImageListReader, ReadsASheetOfOneRowAndAnEmptyList)
{
    ImageListDraft row = PlainImages(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x654321});
    row.columns = 5;
    auto list = units::ReadImageList(ImageListBlobBytes(row));
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->Count(), 5);
    EXPECT_EQ(Pixel(*list, 4, 1, 1), (std::vector<int>{0x21, 0x43, 0x65, 255}));

    auto empty = units::ReadImageList(ImageListBlobBytes(PlainImages(16, 16, {})));
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->Count(), 0);
}

TEST(ImageListReader, WhiteMaskPixelsAreSeeThrough)
{
    ImageListDraft draft = PlainImages(2, 2, {0x112233, 0x445566});
    draft.seeThrough = {{true, false, false, true}, {false, false, false, false}};
    auto list = units::ReadImageList(ImageListBlobBytes(draft));
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(Pixel(*list, 0, 0, 0)[3], 0);
    EXPECT_EQ(Pixel(*list, 0, 1, 0)[3], 255);
    EXPECT_EQ(Pixel(*list, 0, 0, 1)[3], 255);
    EXPECT_EQ(Pixel(*list, 0, 1, 1)[3], 0);
    EXPECT_EQ(Pixel(*list, 0, 1, 0), (std::vector<int>{0x33, 0x22, 0x11, 255}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(Pixel(*list, 1, x, y)[3], 255);
}

TEST(ImageListReader, RefusesBlobsThatHoldNoImageList)
{
    Bytes good = ImageListBlobBytes(PlainImages(4, 4, {0xFF0000}));
    ASSERT_TRUE(units::ReadImageList(good).has_value());

    EXPECT_FALSE(units::ReadImageList(Bytes{}).has_value());
    EXPECT_FALSE(units::ReadImageList(Bytes(good.begin(), good.begin() + 8)).has_value());
    Bytes otherMagic = good;
    otherMagic[3] = 'X';
    EXPECT_FALSE(units::ReadImageList(otherMagic).has_value());
    Bytes otherStreamMagic = good;
    otherStreamMagic[8] = 'J';
    EXPECT_FALSE(units::ReadImageList(otherStreamMagic).has_value());

    ImageListDraft version = PlainImages(4, 4, {0xFF0000});
    version.version = 0x0102;
    EXPECT_FALSE(units::ReadImageList(ImageListBlobBytes(version)).has_value());
}

TEST(ImageListReader, RefusesEveryStreamCutShort)
{
    ImageListDraft draft = PlainImages(4, 4, {0xFF0000, 0x00FF00});
    draft.seeThrough = {std::vector<bool>(16, false), std::vector<bool>(16, true)};
    Bytes blob = ImageListBlobBytes(draft);
    ASSERT_TRUE(units::ReadImageList(blob).has_value());
    // Any cut, in the head, the colour bitmap or the mask, ends inside
    // something a size in the stream announced.
    for (std::size_t size = 9; size < blob.size(); ++size)
        EXPECT_FALSE(units::ReadImageList(std::span(blob.data(), size)).has_value()) << "cut at " << size;
}

TEST(ImageListReader, RefusesSizesTheStreamDoesNotBackUp)
{
    ImageListDraft tooMany = PlainImages(4, 4, {0xFF0000, 0x00FF00});
    tooMany.count = 9;  // a sheet of 4 × 1 images holds 4
    EXPECT_FALSE(units::ReadImageList(ImageListBlobBytes(tooMany)).has_value());
    tooMany.count = 4;
    EXPECT_TRUE(units::ReadImageList(ImageListBlobBytes(tooMany)).has_value());

    ImageListDraft noWidth = PlainImages(4, 4, {0xFF0000});
    noWidth.width = 0;
    noWidth.images = {{}};
    EXPECT_FALSE(units::ReadImageList(ImageListBlobBytes(noWidth)).has_value());

    ImageListDraft missingMask = PlainImages(4, 4, {0xFF0000});
    missingMask.maskFlagWithoutMask = true;
    EXPECT_FALSE(units::ReadImageList(ImageListBlobBytes(missingMask)).has_value());

    // A mask of another size than the colours.
    ImageListDraft masked = PlainImages(4, 4, {0xFF0000});
    masked.seeThrough = {std::vector<bool>(16, false)};
    Bytes blob = ImageListBlobBytes(masked);
    ASSERT_TRUE(units::ReadImageList(blob).has_value());
    blob.resize(ImageListBlobBytes(PlainImages(4, 4, {0xFF0000})).size());
    BmpDraft wideMask;
    wideMask.width = 20;
    wideMask.height = 4;
    wideMask.bitCount = 1;
    wideMask.palette = {0x000000, 0xFFFFFF};
    wideMask.pixels = DibRows(std::vector<std::vector<std::uint32_t>>(4, std::vector<std::uint32_t>(20, 0)), 1);
    Bytes maskFile = BmpFileBytes(wideMask);
    blob.insert(blob.end(), maskFile.begin(), maskFile.end());
    EXPECT_FALSE(units::ReadImageList(blob).has_value());

    // A file size in a bitmap header that reaches past the stream.
    blob = ImageListBlobBytes(PlainImages(4, 4, {0xFF0000}));
    blob[8 + 28 + 2] = static_cast<std::uint8_t>(blob[8 + 28 + 2] + 1);
    EXPECT_FALSE(units::ReadImageList(blob).has_value());
}

TEST(ImageListReader, RefusesPicturesOtherThanBitmaps)
{
    Bytes blob = ImageListBlobBytes(PlainImages(2, 2, {}));
    blob.resize(8 + 28);
    // A PNG in place of the bitmap, with a file header claiming its size.
    Bytes png = PngFileBytes(8, 2, std::vector<std::uint32_t>(16, 0xFF00FF00));
    Bytes fake{'B', 'M'};
    Put32(fake, static_cast<std::uint32_t>(14 + png.size()));
    Put32(fake, 0);
    Put32(fake, 14);
    blob.insert(blob.end(), fake.begin(), fake.end());
    blob.insert(blob.end(), png.begin(), png.end());
    EXPECT_FALSE(units::ReadImageList(blob).has_value());
}

}  // namespace
