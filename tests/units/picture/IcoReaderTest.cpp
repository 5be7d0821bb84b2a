// ICO and CUR files: which directory entry is taken, AND masks, alpha,
// PNG-compressed images, and directories that do not fit their data.

#include <gtest/gtest.h>

#include "tests/units/picture/PixelProbe.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;

// A square 4-bit icon filled with one colour, its mask all opaque.
Bytes SolidImage(int size, Rgb colour)
{
    std::vector<std::vector<std::uint32_t>> colours(size, std::vector<std::uint32_t>(size, 1));
    std::vector<std::vector<std::uint32_t>> mask(size, std::vector<std::uint32_t>(size, 0));
    return IconDib(size, size, 4, {0x000000, colour}, colours, mask);
}

IconEntryDraft Entry(std::uint8_t size, std::uint8_t colourCount, Rgb colour)
{
    IconEntryDraft entry;
    entry.width = size;
    entry.height = size;
    entry.colourCount = colourCount;
    entry.image = SolidImage(size, colour);
    return entry;
}

struct Chosen {
    std::uint32_t width;
    Rgb colour;
};

Chosen Choose(const std::vector<IconEntryDraft>& entries)
{
    auto picture = TryDecodePicture(IconFileBytes(1, entries));
    if (!picture)
        return {0, 0};
    return {picture->width, PixelOf(*picture, 0, 0)};
}

TEST(IcoReader, TakesTheFirstSixteenColourEntryThirtyTwoWide)
{
    Chosen chosen = Choose({Entry(16, 16, 0xFF0000), Entry(32, 16, 0x00FF00), Entry(32, 16, 0x0000FF)});
    EXPECT_EQ(chosen.width, 32u);
    EXPECT_EQ(chosen.colour, 0x00FF00u);
}

TEST(IcoReader, OtherwiseTakesTheLastEntry)
{
    // 256 colours or more store 0 as the count: such an entry is taken only
    // when it is the last one.
    Chosen chosen = Choose({Entry(32, 0, 0xFF0000), Entry(16, 16, 0x00FF00)});
    EXPECT_EQ(chosen.width, 16u);
    EXPECT_EQ(chosen.colour, 0x00FF00u);
    chosen = Choose({Entry(16, 16, 0x00FF00), Entry(32, 0, 0xFF0000)});
    EXPECT_EQ(chosen.width, 32u);
    EXPECT_EQ(chosen.colour, 0xFF0000u);
    // Fewer than 16 colours do not count either.
    chosen = Choose({Entry(32, 8, 0xFF0000), Entry(48, 16, 0x0000FF)});
    EXPECT_EQ(chosen.width, 48u);
}

TEST(IcoReader, MaskedPixelsAreTransparent)
{
    // 2 × 2, 8 bits: the top-right pixel masked.
    Bytes image = IconDib(2, 2, 8, {0x112233, 0x445566}, {{0, 1}, {1, 0}}, {{0, 1}, {0, 0}});
    IconEntryDraft entry;
    entry.width = 2;
    entry.height = 2;
    entry.image = image;
    auto picture = TryDecodePicture(IconFileBytes(1, {entry}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Ico);
    ASSERT_EQ(picture->width, 2u);
    ASSERT_EQ(picture->height, 2u);  // half the header's height
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x112233u);
    EXPECT_EQ(AlphaOf(*picture, 0, 0), 255);
    EXPECT_EQ(AlphaOf(*picture, 1, 0), 0);
    EXPECT_EQ(PixelOf(*picture, 0, 1), 0x445566u);
    EXPECT_EQ(AlphaOf(*picture, 1, 1), 255);
}

TEST(IcoReader, ThirtyTwoBitIconsUseTheirAlpha)
{
    // Alpha decides over the mask, which claims every pixel opaque.
    Bytes image = IconDib(2, 1, 32, {}, {{0x80FF0000, 0xFF00FF00}}, {{0, 0}});
    IconEntryDraft entry;
    entry.width = 2;
    entry.height = 1;
    entry.image = image;
    auto picture = TryDecodePicture(IconFileBytes(1, {entry}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(AlphaOf(*picture, 0, 0), 0x80);
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(AlphaOf(*picture, 1, 0), 0xFF);

    // Alpha all zero: an old icon whose mask decides.
    image = IconDib(2, 1, 32, {}, {{0x00FF0000, 0x0000FF00}}, {{1, 0}});
    entry.image = image;
    picture = TryDecodePicture(IconFileBytes(1, {entry}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(AlphaOf(*picture, 0, 0), 0);
    EXPECT_EQ(AlphaOf(*picture, 1, 0), 255);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0x00FF00u);
}

TEST(IcoReader, ReadsPngCompressedImages)
{
    IconEntryDraft entry;
    entry.width = 0;  // 256
    entry.height = 0;
    entry.colourCount = 0;
    entry.image = PngFileBytes(2, 2, {0xFF0000FF, 0x00000000, 0x80FFFFFF, 0xFF00FF00});
    auto picture = TryDecodePicture(IconFileBytes(1, {entry}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Ico);
    EXPECT_EQ(picture->width, 2u);
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x0000FFu);
    EXPECT_EQ(AlphaOf(*picture, 1, 0), 0);
    EXPECT_EQ(AlphaOf(*picture, 0, 1), 0x80);
}

TEST(IcoReader, CursorsAreReadLikeIcons)
{
    auto picture = TryDecodePicture(IconFileBytes(2, {Entry(32, 16, 0x123456)}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(picture->kind, PictureKind::Cur);
    EXPECT_EQ(PixelOf(*picture, 31, 31), 0x123456u);
}

TEST(IcoReader, RefusesEntriesOutsideTheData)
{
    IconEntryDraft past = Entry(32, 16, 0xFF0000);
    past.offset = 100000;
    EXPECT_EQ(TryDecodePicture(IconFileBytes(1, {past})).Reason(), "icon image lies outside the data");
    IconEntryDraft tooLong = Entry(32, 16, 0xFF0000);
    tooLong.size = 0xFFFFFFF0;
    EXPECT_EQ(TryDecodePicture(IconFileBytes(1, {tooLong})).Reason(), "icon image lies outside the data");

    // The directory claims three entries; only one follows.
    Bytes file = IconFileBytes(1, {Entry(16, 16, 0xFF0000)});
    file[4] = 3;
    file.resize(6 + 16 + 8);
    EXPECT_EQ(TryDecodePicture(file).Reason(), "icon directory runs past the end");
}

struct Field {
    std::size_t at;
    std::uint32_t value;
};

// A 32-pixel icon whose image has 32-bit fields of its header set.
Bytes WithImageFields(std::initializer_list<Field> fields)
{
    IconEntryDraft entry = Entry(32, 16, 0xFF0000);
    for (Field field : fields)
        for (int i = 0; i < 4; ++i)
            entry.image[field.at + i] = static_cast<std::uint8_t>(field.value >> (8 * i));
    return IconFileBytes(1, {entry});
}

TEST(IcoReader, RefusesImagesThatDoNotDecode)
{
    IconEntryDraft entry = Entry(32, 16, 0xFF0000);
    entry.image.resize(40 + 16 + 100);  // colour rows cut short
    EXPECT_EQ(TryDecodePicture(IconFileBytes(1, {entry})).Reason(), "pixel rows run past the end of the data");
    entry.image.resize(20);  // the header itself cut short
    EXPECT_EQ(TryDecodePicture(IconFileBytes(1, {entry})).Reason(),
              "bitmap header of unknown size or past the end");

    // Header fields: width at 4, height (twice the icon's) at 8, depth at 14,
    // compression at 16, colours used at 32.
    EXPECT_EQ(TryDecodePicture(WithImageFields({{4, 20000}})).Reason(), "bitmap size empty or too large");
    EXPECT_EQ(TryDecodePicture(WithImageFields({{8, static_cast<std::uint32_t>(-64)}})).Reason(),
              "icon image stored top-down");
    EXPECT_EQ(TryDecodePicture(WithImageFields({{16, 2}})).Reason(), "icon image compressed");  // RLE4
    EXPECT_EQ(TryDecodePicture(WithImageFields({{14, 3}})).Reason(), "bitmap depth not supported");
    // A table of 1000 colours, of which the 16 a 4-bit image uses are read:
    // the pixels would start far past the image.
    EXPECT_EQ(TryDecodePicture(WithImageFields({{32, 1000}})).Reason(), "icon pixels past the end of the image");
    // Wider than the stored rows: checked before any row is read.
    EXPECT_EQ(TryDecodePicture(WithImageFields({{4, 4096}})).Reason(), "pixel rows run past the end of the data");
    // 16384 × 16384 pixels of 4 bytes each are more than all of a picture's
    // buffers may take.
    EXPECT_EQ(TryDecodePicture(WithImageFields({{4, 16384}, {8, 2 * 16384}})).Reason(),
              "picture needs too much memory");
}

TEST(IcoReader, AMissingMaskLeavesEveryPixelOpaque)
{
    IconEntryDraft entry = Entry(16, 16, 0x00FF00);
    entry.image.resize(entry.image.size() - 16 * 4);  // the mask rows, 4 bytes each
    auto picture = TryDecodePicture(IconFileBytes(1, {entry}));
    ASSERT_TRUE(picture) << picture.Reason();
    for (std::uint32_t y = 0; y < 16; y += 5)
        for (std::uint32_t x = 0; x < 16; x += 5) {
            EXPECT_EQ(AlphaOf(*picture, x, y), 255) << x << "," << y;
            EXPECT_EQ(PixelOf(*picture, x, y), 0x00FF00u) << x << "," << y;
        }
}

}  // namespace
