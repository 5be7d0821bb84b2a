// Telling the kind of a picture from its first bytes, and what DecodePicture
// makes of blocks that are no picture at all.

#include <gtest/gtest.h>

#include "tests/support/CaseTable.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using vellumry::test::Bytes;
using vellumry::test::PrintTo;

struct KindRow {
    const char* label;
    Bytes bytes;
    PictureKind kind;
};

class PictureKindTest : public ::testing::TestWithParam<KindRow> {};

TEST_P(PictureKindTest, IsToldFromTheFirstBytes)
{
    EXPECT_EQ(DetectPictureKind(GetParam().bytes), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PictureKindTest,
    ::testing::Values(
        KindRow{"Jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, PictureKind::Jpeg},
        KindRow{"Bmp", {'B', 'M', 0, 0, 0, 0}, PictureKind::Bmp},
        KindRow{"Ico", {0, 0, 1, 0, 1, 0}, PictureKind::Ico},
        KindRow{"Cur", {0, 0, 2, 0, 3, 0}, PictureKind::Cur},
        KindRow{"IconWithoutImages", {0, 0, 1, 0, 0, 0}, PictureKind::None},
        KindRow{"IconOfType3", {0, 0, 3, 0, 1, 0}, PictureKind::None},
        KindRow{"Gif87", {'G', 'I', 'F', '8', '7', 'a'}, PictureKind::Gif},
        KindRow{"Gif89", {'G', 'I', 'F', '8', '9', 'a'}, PictureKind::Gif},
        KindRow{"Gif88", {'G', 'I', 'F', '8', '8', 'a'}, PictureKind::None},
        KindRow{"Pcx8Version5", {0x0A, 5, 1, 8, 0, 0}, PictureKind::Pcx8},
        KindRow{"Pcx8Version0", {0x0A, 0, 1, 8, 0, 0}, PictureKind::Pcx8},
        KindRow{"Pcx8Version6", {0x0A, 6, 1, 8, 0, 0}, PictureKind::None},
        KindRow{"Pcx1Version3", {0x0A, 3, 1, 1, 0, 0}, PictureKind::Pcx1},
        KindRow{"Pcx1Version5", {0x0A, 5, 1, 1, 0, 0}, PictureKind::None},
        KindRow{"PcxNotRunLength", {0x0A, 5, 0, 8, 0, 0}, PictureKind::None},
        KindRow{"Png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, PictureKind::Png},
        // BMP is tested first: a block that starts "BM" is a BMP whatever follows.
        KindRow{"BmpBeforeEverything", {'B', 'M', 0xFF, 0xD8, 0, 0}, PictureKind::Bmp},
        KindRow{"FiveBytes", {0xFF, 0xD8, 0xFF, 0xE0, 0}, PictureKind::None},
        KindRow{"Empty", {}, PictureKind::None},
        KindRow{"Text", {'h', 'e', 'l', 'l', 'o', '!'}, PictureKind::None}),
    vellumry::test::RowLabel());

TEST(DecodePicture, GivesNothingForBlocksThatAreNoPicture)
{
    EXPECT_FALSE(DecodePicture({}));
    // Five bytes are no picture, even when they start like one.
    Bytes five{0xFF, 0xD8, 0xFF, 0xE0, 0};
    EXPECT_FALSE(DecodePicture(five));
    EXPECT_EQ(TryDecodePicture(five).Reason(), "not a picture of a known kind");
    Bytes text{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    EXPECT_FALSE(DecodePicture(text));
}

TEST(DecodePicture, HandsEachKindToItsReader)
{
    vellumry::test::RgbPicture pattern = vellumry::test::TestPattern(8, 8);
    auto jpeg = DecodePicture(vellumry::test::JpegFileBytes(pattern));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->kind, PictureKind::Jpeg);
    auto png = DecodePicture(vellumry::test::PngFileBytes(2, 1, {0xFF000000, 0xFFFFFFFF}));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->kind, PictureKind::Png);
    // A known kind whose reader refuses the bytes gives nothing.
    Bytes brokenBmp{'B', 'M', 1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(DecodePicture(brokenBmp));
}

}  // namespace
