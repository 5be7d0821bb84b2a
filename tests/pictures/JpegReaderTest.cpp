// JPEG through libjpeg: the same pixels as libjpeg's own RGB output, with red
// and blue swapped and the rows bottom-up.

#include <gtest/gtest.h>

#include "tests/pictures/PixelProbe.h"
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

TEST(JpegReader, RefusesDamagedAndOversizedPictures)
{
    Bytes file = JpegFileBytes(TestPattern(16, 16));
    Bytes header(file.begin(), file.begin() + 20);
    EXPECT_FALSE(TryDecodePicture(header));

    // The frame header's height and width (SOF0: FF C0, length, precision,
    // height, width) set to 20000 × 16.
    Bytes tall = file;
    for (std::size_t i = 0; i + 9 < tall.size(); ++i)
        if (tall[i] == 0xFF && tall[i + 1] == 0xC0) {
            tall[i + 5] = 20000 >> 8;
            tall[i + 6] = 20000 & 0xFF;
            break;
        }
    auto refused = TryDecodePicture(tall);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.Reason(), "picture size empty or too large");
}

TEST(JpegReader, RefusesPicturesBeyondTheMemoryBudget)
{
    // 12000 × 12000 × 3 bytes is more than all of a picture's buffers may take.
    Bytes file = JpegFileBytes(TestPattern(16, 16));
    for (std::size_t i = 0; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 12000 >> 8;
            file[i + 6] = 12000 & 0xFF;
            file[i + 7] = 12000 >> 8;
            file[i + 8] = 12000 & 0xFF;
            break;
        }
    EXPECT_EQ(TryDecodePicture(file).Reason(), "picture needs too much memory");
}

}  // namespace
