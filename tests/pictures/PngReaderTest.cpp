// PNG through libpng: 32-bit blue-green-red-alpha pixels, rows top-down.

#include <gtest/gtest.h>

#include <zlib.h>

#include "tests/pictures/PixelProbe.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;

TEST(PngReader, GivesEveryPixelWithItsAlpha)
{
    std::vector<std::uint32_t> argb = {0xFF112233, 0x80445566, 0x00778899,  //
                                       0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    auto picture = TryDecodePicture(PngFileBytes(3, 2, argb));
    ASSERT_TRUE(picture) << picture.Reason();
    ASSERT_EQ(picture->kind, PictureKind::Png);
    ASSERT_EQ(picture->width, 3u);
    ASSERT_EQ(picture->height, 2u);
    ASSERT_EQ(picture->pixels.size(), 3u * 2 * 4);
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 3; ++x) {
            std::uint32_t expected = argb[y * 3 + x];
            EXPECT_EQ(AlphaOf(*picture, x, y), expected >> 24) << x << "," << y;
            if (expected >> 24) {
                EXPECT_EQ(PixelOf(*picture, x, y), expected & 0xFFFFFF) << x << "," << y;
            }
        }
    // Top-down, blue first.
    EXPECT_EQ(picture->pixels[0], 0x33);
    EXPECT_EQ(picture->pixels[3], 0xFF);
}

TEST(PngReader, RefusesDamagedData)
{
    Bytes file = PngFileBytes(4, 4, std::vector<std::uint32_t>(16, 0xFF808080));
    Bytes cut(file.begin(), file.begin() + 40);
    EXPECT_FALSE(TryDecodePicture(cut));
    Bytes flipped = file;
    flipped[flipped.size() - 20] ^= 0xFF;  // inside the image data: a CRC error
    EXPECT_FALSE(TryDecodePicture(flipped));
}

TEST(PngReader, RefusesOversizedHeaders)
{
    Bytes file = PngFileBytes(4, 4, std::vector<std::uint32_t>(16, 0xFF808080));
    // IHDR width at byte 16, big-endian: 20000.
    file[16] = 0;
    file[17] = 0;
    file[18] = 20000 >> 8;
    file[19] = 20000 & 0xFF;
    // The header chunk's CRC (over type and data, bytes 12 to 28) made right
    // again, so that only the size is wrong.
    uLong crc = crc32(0, file.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        file[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(TryDecodePicture(file).Reason(), "picture size empty or too large");
}

}  // namespace
