// GIF streams as still pictures: the first frame on the logical screen in
// the 8-bit layout, LZW data of every shape, and the streams that are
// refused.

#include <gtest/gtest.h>

#include "tests/units/picture/PixelProbe.h"
#include "tests/support/CaseTable.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;
using vellumry::test::PrintTo;

const std::vector<Rgb> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

GifFrameDraft Frame(int left, int top, int width, int height, std::vector<std::uint8_t> indexes)
{
    GifFrameDraft frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indexes = std::move(indexes);
    return frame;
}

GifDraft Screen(int width, int height, std::vector<GifFrameDraft> frames, std::vector<Rgb> table = kFour)
{
    GifDraft draft;
    draft.width = width;
    draft.height = height;
    draft.globalTable = std::move(table);
    draft.frames = std::move(frames);
    return draft;
}

void ExpectIndexes(const DecodedPicture& picture, const std::vector<std::uint8_t>& expected)
{
    ASSERT_EQ(expected.size(), std::size_t{picture.width} * picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y)
        for (std::uint32_t x = 0; x < picture.width; ++x)
            ASSERT_EQ(IndexOf(picture, x, y), expected[y * picture.width + x]) << "at " << x << "," << y;
}

TEST(GifReader, GivesTheFirstFrameInTheEightBitLayout)
{
    std::vector<std::uint8_t> indexes = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2, 0, 3, 0, 3, 2, 2, 2, 2};
    GifDraft draft = Screen(5, 4, {Frame(0, 0, 5, 4, indexes), Frame(0, 0, 5, 4, std::vector<std::uint8_t>(20, 3))});
    auto picture = TryDecodePicture(GifFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Gif);
    ASSERT_EQ(picture->width, 5u);
    ASSERT_EQ(picture->height, 4u);
    // Header, 256 colours, rows of 5 padded to 8.
    ASSERT_EQ(picture->pixels.size(), 40u + 1024 + 8 * 4);
    EXPECT_EQ(picture->pixels[0], 40);
    EXPECT_EQ(picture->pixels[14], 8);  // bits per pixel
    ExpectIndexes(*picture, indexes);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(*picture, 0, 1), 0x00FF00u);
    EXPECT_EQ(PixelOf(*picture, 3, 2), 0x0000FFu);
}

TEST(GifReader, UncoveredAndTransparentPixelsShowTheBackgroundIndex)
{
    GifFrameDraft frame = Frame(1, 1, 2, 2, {1, 2, 3, 1});
    frame.transparent = 3;
    GifDraft draft = Screen(4, 3, {frame});
    draft.background = 2;
    auto picture = TryDecodePicture(GifFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, {2, 2, 2, 2,  //
                             2, 1, 2, 2,  //
                             2, 2, 1, 2});
}

TEST(GifReader, ALocalTableTakesThePlaceOfTheGlobalOne)
{
    GifFrameDraft frame = Frame(0, 0, 2, 1, {0, 1});
    frame.localTable = {0xABCDEF, 0x123456};
    auto picture = TryDecodePicture(GifFileBytes(Screen(2, 1, {frame})));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xABCDEFu);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0x123456u);
}

TEST(GifReader, PutsInterlacedRowsInPlace)
{
    std::vector<std::uint8_t> indexes;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 3; ++x)
            indexes.push_back(static_cast<std::uint8_t>(y));
    GifFrameDraft frame = Frame(0, 0, 3, 11, indexes);
    frame.interlaced = true;
    std::vector<Rgb> sixteen(16);
    auto picture = TryDecodePicture(GifFileBytes(Screen(3, 11, {frame}, sixteen)));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, indexes);
}

struct LzwShape {
    const char* label;
    int width;
    int height;
    std::uint8_t colours;
    bool clearWhenFull;
    bool runs;
};

class GifLzwTest : public ::testing::TestWithParam<LzwShape> {};

TEST_P(GifLzwTest, DecodesWhatTheEncoderWrote)
{
    const LzwShape& shape = GetParam();
    auto count = static_cast<std::size_t>(shape.width) * shape.height;
    std::vector<std::uint8_t> indexes = NoiseBytes(count, 7, shape.colours);
    if (shape.runs)
        for (std::size_t i = 0; i < count; ++i)
            indexes[i] = static_cast<std::uint8_t>((i / 97) % shape.colours);
    GifFrameDraft frame = Frame(0, 0, shape.width, shape.height, indexes);
    frame.clearWhenFull = shape.clearWhenFull;
    auto picture = TryDecodePicture(GifFileBytes(Screen(shape.width, shape.height, {frame},
                                                        std::vector<Rgb>(shape.colours))));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, indexes);
}

INSTANTIATE_TEST_SUITE_P(Shapes, GifLzwTest,
                         ::testing::Values(LzwShape{"TwoColours", 61, 17, 2, true, false},
                                           LzwShape{"FullTableCleared", 300, 200, 255, true, false},
                                           LzwShape{"FullTableKept", 300, 200, 200, false, false},
                                           LzwShape{"LongRuns", 500, 300, 16, true, true},
                                           LzwShape{"OnePixel", 1, 1, 4, true, false}),
                         vellumry::test::RowLabel());

TEST(GifReader, DataThatEndsEarlyGivesTheRowsBeforeIt)
{
    std::vector<std::uint8_t> indexes = NoiseBytes(64 * 64, 3, 4);
    GifDraft draft = Screen(64, 64, {Frame(0, 0, 64, 64, indexes)});
    draft.background = 0;
    Bytes file = GifFileBytes(draft);
    file.resize(file.size() / 2);
    auto picture = TryDecodePicture(file);
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(IndexOf(*picture, 5, 0), indexes[5]);
    EXPECT_EQ(IndexOf(*picture, 5, 63), 0);
}

TEST(GifReader, StopsAtACodeThatCannotBeDecoded)
{
    // Minimum code size 2: clear (4), then 1, then 7 (not yet defined: the
    // next code would be 6), in 3-bit codes.
    GifFrameDraft frame = Frame(0, 0, 3, 1, {});
    frame.minimumCodeSize = 2;
    std::uint32_t bits = 4 | (1 << 3) | (7 << 6);
    frame.data = Bytes{2, static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8), 0};
    GifDraft draft = Screen(3, 1, {frame});
    draft.background = 3;
    auto picture = TryDecodePicture(GifFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, {1, 3, 3});
}

TEST(GifReader, ClipsFramesToTheScreen)
{
    GifDraft draft = Screen(3, 2, {Frame(2, 1, 3, 2, {1, 2, 3, 1, 2, 3})});
    auto picture = TryDecodePicture(GifFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, {0, 0, 0, 0, 0, 1});
}

TEST(GifReader, AnInterlacedFrameTallerThanTheScreenShowsItsTopRows)
{
    // 20 rows on a screen of 3: the rows shown come from three passes.
    std::vector<std::uint8_t> indexes;
    for (int y = 0; y < 20; ++y)
        indexes.insert(indexes.end(), 2, static_cast<std::uint8_t>(y));
    GifFrameDraft frame = Frame(0, 0, 2, 20, indexes);
    frame.interlaced = true;
    auto picture = TryDecodePicture(GifFileBytes(Screen(2, 3, {frame}, std::vector<Rgb>(32))));
    ASSERT_TRUE(picture) << picture.Reason();
    ExpectIndexes(*picture, {0, 0, 1, 1, 2, 2});
}

TEST(GifReader, AnEmptyScreenTakesTheFirstFramesSize)
{
    GifDraft draft = Screen(0, 0, {Frame(1, 0, 2, 2, {1, 2, 3, 1})});
    auto picture = TryDecodePicture(GifFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->width, 3u);
    EXPECT_EQ(picture->height, 2u);
}

struct RefusedGif {
    const char* label;
    Bytes file;
    const char* reason;
};

class GifRefusedTest : public ::testing::TestWithParam<RefusedGif> {};

TEST_P(GifRefusedTest, IsRefusedWithItsReason)
{
    EXPECT_EQ(TryDecodePicture(GetParam().file).Reason(), GetParam().reason);
}

Bytes GlobalTableOf(std::uint8_t flags, std::size_t size)
{
    Bytes file{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, flags, 0, 0};
    file.resize(size, 0);
    return file;
}

Bytes WithCodeSize(int codeSize)
{
    GifFrameDraft frame = Frame(0, 0, 2, 1, {1, 1});
    frame.minimumCodeSize = codeSize;
    return GifFileBytes(Screen(2, 1, {frame}));
}

Bytes WithoutTables()
{
    return GifFileBytes(Screen(2, 1, {Frame(0, 0, 2, 1, {1, 1})}, {}));
}

Bytes WithoutFrames()
{
    return GifFileBytes(Screen(2, 1, {}));
}

Bytes ScreenOf(int width, int height)
{
    GifDraft draft = Screen(2, 1, {Frame(0, 0, 2, 1, {1, 1})});
    draft.width = width;
    draft.height = height;
    return GifFileBytes(draft);
}

// The frame's own table of 256 colours is cut after 100 of its 768 bytes.
Bytes LocalTablePastTheEnd()
{
    GifFrameDraft frame = Frame(0, 0, 2, 1, {1, 1});
    frame.localTable.assign(256, 0x808080);
    Bytes file = GifFileBytes(Screen(2, 1, {frame}, {}));
    // Header, graphic control extension, image descriptor.
    file.resize(13 + 8 + 10 + 100);
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, GifRefusedTest,
    ::testing::Values(
        RefusedGif{"ThirteenBytes", GlobalTableOf(0, 13), "GIF shorter than its header"},
        // 256 entries need 768 bytes after the 13 of the header.
        RefusedGif{"TablePastTheEnd", GlobalTableOf(0x87, 13 + 700), "GIF colour table runs past the end"},
        RefusedGif{"TableToTheEnd", GlobalTableOf(0x87, 13 + 768), "GIF colour table runs past the end"},
        RefusedGif{"NoFrame", WithoutFrames(), "GIF holds no frame"},
        RefusedGif{"NoColourTable", WithoutTables(), "GIF has no colour table"},
        RefusedGif{"CodeSizeOne", WithCodeSize(1), "GIF minimum code size outside 2 to 8"},
        RefusedGif{"CodeSizeNine", WithCodeSize(9), "GIF minimum code size outside 2 to 8"},
        RefusedGif{"LocalTablePastTheEnd", LocalTablePastTheEnd(), "GIF holds no frame"},
        RefusedGif{"Oversized", ScreenOf(20000, 1), "picture size empty or too large"},
        // 16384 × 16384 indexes are more than all of a picture's buffers may take.
        RefusedGif{"BeyondTheBudget", ScreenOf(16384, 16384), "picture needs too much memory"}),
    vellumry::test::RowLabel());

TEST(GifReader, RefusesAFrameWhoseDescriptorIsCut)
{
    Bytes file = GifFileBytes(Screen(2, 1, {Frame(0, 0, 2, 1, {1, 1})}));
    // Header, table of 4, graphic control extension (8 bytes), then the
    // image descriptor's introducer and 3 of its 9 bytes.
    file.resize(13 + 12 + 8 + 1 + 3);
    EXPECT_EQ(TryDecodePicture(file).Reason(), "GIF holds no frame");
}

}  // namespace
