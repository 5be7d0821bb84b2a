// JPEG through libjpeg: the same pixels as libjpeg's own RGB output, with red
// and blue swapped and the rows bottom-up.

#include <gtest/gtest.h>

#include "tests/units/picture/PixelProbe.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;

void ExpectMatchesReference(const Bytes& file)
{
    auto reference = JpegReferenceDecode(file);
    ASSERT_TRUE(reference);
    auto picture = TryDecodePicture(file);
    ASSERT_TRUE(picture) << picture.Reason();
    ASSERT_EQ(picture->kind, PictureKind::Jpeg);
    ASSERT_EQ(picture->width, static_cast<std::uint32_t>(reference->width));
    ASSERT_EQ(picture->height, static_cast<std::uint32_t>(reference->height));
    ASSERT_EQ(picture->pixels.size(), std::size_t{picture->width} * picture->height * 3);
    for (int y = 0; y < reference->height; ++y)
        for (int x = 0; x < reference->width; ++x)
            ASSERT_EQ(PixelOf(*picture, x, y), reference->At(x, y)) << "at " << x << "," << y;
}

TEST(JpegReader, MatchesLibjpegPixelForPixel)
{
    // An odd size exercises the partial blocks at the right and bottom edges.
    ExpectMatchesReference(JpegFileBytes(TestPattern(37, 23)));
}

TEST(JpegReader, MatchesLibjpegForProgressiveData)
{
    ExpectMatchesReference(JpegFileBytes(TestPattern(64, 40), 90, true));
}

TEST(JpegReader, KeepsColoursInTheirPlaces)
{
    // A red top half over a blue bottom half: a missing swap or flip shows.
    RgbPicture picture{16, 16, std::vector<Rgb>(256)};
    for (int i = 0; i < 256; ++i)
        picture.pixels[i] = i < 128 ? 0xFF0000 : 0x0000FF;
    auto decoded = DecodePicture(JpegFileBytes(picture));
    ASSERT_TRUE(decoded);
    Rgb top = PixelOf(*decoded, 8, 2);
    Rgb bottom = PixelOf(*decoded, 8, 13);
    EXPECT_GE(top >> 16, 0xF0u);
    EXPECT_LE(top & 0xFF, 0x10u);
    EXPECT_GE(bottom & 0xFF, 0xF0u);
    EXPECT_LE(bottom >> 16, 0x10u);
    // In the block itself the bottom row comes first.
    EXPECT_GE(decoded->pixels[0], 0xF0);  // blue of the bottom-left pixel
}

// The first byte of the first segment with `marker` (FF marker), or the
// end of the file.
std::size_t SegmentAt(const Bytes& file, std::uint8_t marker)
{
    for (std::size_t i = 2; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == marker)
            return i;
    return file.size();
}

TEST(JpegReader, RefusesDamagedTables)
{
    Bytes file = JpegFileBytes(TestPattern(16, 16));
    Bytes header(file.begin(), file.begin() + 20);
    EXPECT_EQ(TryDecodePicture(header).Reason(), "JPEG header unreadable");

    // A Huffman table (FF C4, length, class and number, 16 counts) whose
    // counts add up to more codes than a table holds.
    Bytes huffman = file;
    std::size_t at = SegmentAt(huffman, 0xC4);
    ASSERT_LT(at + 21, huffman.size());
    for (std::size_t i = 0; i < 16; ++i)
        huffman[at + 5 + i] = 0xFF;
    EXPECT_EQ(TryDecodePicture(huffman).Reason(), "JPEG header unreadable");

    // The first component (FF C0, length, precision, height, width, count,
    // then id, sampling and table per component) names a quantisation
    // table the file never defines.
    Bytes quantisation = file;
    at = SegmentAt(quantisation, 0xC0);
    ASSERT_LT(at + 12, quantisation.size());
    quantisation[at + 12] = 3;
    EXPECT_EQ(TryDecodePicture(quantisation).Reason(), "JPEG data unreadable");
}

TEST(JpegReader, DataCutInsideTheScanGivesTheRowsBeforeTheCut)
{
    Bytes file = JpegFileBytes(TestPattern(64, 64));
    auto whole = JpegReferenceDecode(file);
    ASSERT_TRUE(whole);
    // Six tenths of the way through the entropy-coded data.
    std::size_t scan = SegmentAt(file, 0xDA);
    Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(scan + (file.size() - scan) * 6 / 10));
    auto picture = TryDecodePicture(cut);
    ASSERT_TRUE(picture) << picture.Reason();
    ASSERT_EQ(picture->width, 64u);
    ASSERT_EQ(picture->height, 64u);
    // libjpeg's own decode of the same bytes, rows after the cut included.
    auto reference = JpegReferenceDecode(cut);
    ASSERT_TRUE(reference);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(PixelOf(*picture, x, y), reference->At(x, y)) << "at " << x << "," << y;
    // The first row of blocks lies wholly before the cut.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(PixelOf(*picture, x, y), whole->At(x, y)) << "at " << x << "," << y;
}

// The frame header's height and width (FF C0, length, precision, height,
// width, all big-endian) set to the given sides.
Bytes WithSides(Bytes file, std::uint16_t width, std::uint16_t height)
{
    std::size_t at = SegmentAt(file, 0xC0);
    if (at + 9 > file.size())
        return {};
    file[at + 5] = static_cast<std::uint8_t>(height >> 8);
    file[at + 6] = static_cast<std::uint8_t>(height);
    file[at + 7] = static_cast<std::uint8_t>(width >> 8);
    file[at + 8] = static_cast<std::uint8_t>(width);
    return file;
}

TEST(JpegReader, RefusesOversizedPictures)
{
    Bytes file = JpegFileBytes(TestPattern(16, 16));
    EXPECT_EQ(TryDecodePicture(WithSides(file, 16, 20000)).Reason(), "picture size empty or too large");
    EXPECT_EQ(TryDecodePicture(WithSides(file, 20000, 16)).Reason(), "picture size empty or too large");
    // 12000 × 12000 × 3 bytes is more than all of a picture's buffers may take.
    EXPECT_EQ(TryDecodePicture(WithSides(file, 12000, 12000)).Reason(), "picture needs too much memory");
}

}  // namespace
