// PCX files of one plane: 8 bits with the colour table at the end (or grey
// without it), 1 bit in the monochrome layout, and run-length data of every
// shape.

#include <gtest/gtest.h>

#include "tests/units/picture/PixelProbe.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;

PcxDraft EightBit(int width, int height, int bytesPerLine, std::vector<std::uint8_t> lines)
{
    PcxDraft draft;
    draft.width = width;
    draft.height = height;
    draft.bytesPerLine = bytesPerLine;
    draft.lines = std::move(lines);
    draft.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    draft.palette.resize(256, 0x808080);
    draft.palette[0xC5] = 0x123456;  // a value that must be written as a run
    return draft;
}

TEST(PcxReader, GivesEightBitPicturesInTheEightBitLayout)
{
    // 3 × 2 in lines of 4 bytes (the fourth is padding); runs and the
    // value 0xC5, which only a run can hold.
    PcxDraft draft = EightBit(3, 2, 4, {1, 1, 2, 0, 0xC5, 3, 3, 0});
    auto picture = TryDecodePicture(PcxFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Pcx8);
    ASSERT_EQ(picture->width, 3u);
    ASSERT_EQ(picture->height, 2u);
    EXPECT_EQ(picture->pixels.size(), 1064u + 4 * 2);
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(*picture, 2, 0), 0x00FF00u);
    EXPECT_EQ(PixelOf(*picture, 0, 1), 0x123456u);
    EXPECT_EQ(PixelOf(*picture, 2, 1), 0x0000FFu);
}

TEST(PcxReader, WithoutAColourTableGivesGrey)
{
    PcxDraft draft = EightBit(2, 1, 2, {0x10, 0xF0});
    draft.palette.clear();
    draft.version = 3;
    auto picture = TryDecodePicture(PcxFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x101010u);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0xF0F0F0u);

    // A table at the end whose marker byte is damaged is no table.
    Bytes damaged = PcxFileBytes(EightBit(2, 1, 2, {0x10, 0xF0}));
    damaged[damaged.size() - 769] = 0x0B;
    picture = TryDecodePicture(damaged);
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x101010u);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0xF0F0F0u);
}

TEST(PcxReader, RunsMayCrossFromOneLineIntoTheNext)
{
    // One run of 6 filling both lines of 3.
    Bytes file = PcxFileBytes(EightBit(3, 2, 3, {0, 0, 0, 0, 0, 0}));
    Bytes runs = {0xC6, 2};
    file.erase(file.begin() + 128, file.end() - 769);
    file.insert(file.begin() + 128, runs.begin(), runs.end());
    auto picture = TryDecodePicture(file);
    ASSERT_TRUE(picture) << picture.Reason();
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 3; ++x)
            EXPECT_EQ(PixelOf(*picture, x, y), 0x00FF00u);
}

TEST(PcxReader, DataThatEndsEarlyLeavesIndexZero)
{
    PcxDraft draft = EightBit(2, 3, 2, {1, 1, 2, 2, 3, 3});
    Bytes file = PcxFileBytes(draft);
    // Keep the header and the first line's run (2 bytes); no colour table.
    file.resize(128 + 2);
    auto picture = TryDecodePicture(file);
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(IndexOf(*picture, 1, 0), 1);
    EXPECT_EQ(IndexOf(*picture, 0, 1), 0);
    EXPECT_EQ(IndexOf(*picture, 1, 2), 0);
}

TEST(PcxReader, GivesOneBitPicturesInTheMonochromeLayout)
{
    // 10 pixels wide: 2 bytes a line in the file, padded to 2 in the layout.
    PcxDraft draft;
    draft.version = 3;
    draft.bitsPerPixel = 1;
    draft.width = 10;
    draft.height = 2;
    draft.bytesPerLine = 2;
    draft.lines = {0b10110000, 0b11000000, 0b00000000, 0b01000000};
    auto picture = TryDecodePicture(PcxFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Pcx1);
    ASSERT_EQ(picture->pixels.size(), 4u);
    EXPECT_EQ(picture->pixels[0], 0b10110000);
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0x000000u);
    EXPECT_EQ(PixelOf(*picture, 8, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*picture, 9, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*picture, 8, 1), 0x000000u);
}

TEST(PcxReader, RefusesWhatItCannotShow)
{
    Bytes planes = PcxFileBytes(EightBit(2, 1, 2, {1, 2}));
    planes[65] = 3;
    EXPECT_EQ(TryDecodePicture(planes).Reason(), "PCX with more than one plane");

    Bytes shortLines = PcxFileBytes(EightBit(4, 1, 3, {1, 2, 3}));
    EXPECT_EQ(TryDecodePicture(shortLines).Reason(), "PCX line shorter than the picture");

    Bytes backwards = PcxFileBytes(EightBit(2, 1, 2, {1, 2}));
    backwards[4] = 9;  // xMin past xMax
    EXPECT_EQ(TryDecodePicture(backwards).Reason(), "picture size empty or too large");

    Bytes header(PcxFileBytes(EightBit(2, 1, 2, {1, 2})));
    header.resize(100);
    EXPECT_EQ(TryDecodePicture(header).Reason(), "not a PCX file");

    Bytes wide = PcxFileBytes(EightBit(2, 1, 2, {1, 2}));
    wide[8] = 0xFF;  // xMax 65535 + 1 pixels
    wide[9] = 0xFF;
    wide[66] = 0xFF;
    wide[67] = 0xFF;
    EXPECT_EQ(TryDecodePicture(wide).Reason(), "picture size empty or too large");

    // 16384 × 16384 indexes are more than all of a picture's buffers may take.
    Bytes huge = PcxFileBytes(EightBit(2, 1, 2, {1, 2}));
    huge[8] = 0xFF;  // xMax and yMax 16383
    huge[9] = 0x3F;
    huge[10] = 0xFF;
    huge[11] = 0x3F;
    huge[66] = 0x00;  // 16384 bytes a line
    huge[67] = 0x40;
    EXPECT_EQ(TryDecodePicture(huge).Reason(), "picture needs too much memory");
}

}  // namespace
