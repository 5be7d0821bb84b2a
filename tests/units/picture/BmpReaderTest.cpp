// BMP files of every depth and compression the reader takes, all holding the
// same small picture, and the ways a BMP is refused.

#include <gtest/gtest.h>

#include "tests/units/picture/PixelProbe.h"
#include "tests/support/CaseTable.h"
#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;
using vellumry::test::PrintTo;

constexpr int kWidth = 4;
constexpr int kHeight = 3;
const std::vector<std::vector<std::uint32_t>> kIndexes = {{0, 1, 2, 3}, {3, 2, 1, 0}, {1, 1, 2, 2}};
const std::vector<Rgb> kColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

// The picture's rows with each index replaced by `values[index]`.
std::vector<std::vector<std::uint32_t>> Rows(const std::vector<std::uint32_t>& values)
{
    auto rows = kIndexes;
    for (auto& row : rows)
        for (auto& v : row)
            v = values[v];
    return rows;
}

struct BmpRow {
    const char* label;
    BmpDraft draft;
    std::vector<Rgb> colours = kColours;  // what indexes 0..3 must come out as
};

class BmpDepthTest : public ::testing::TestWithParam<BmpRow> {};

TEST_P(BmpDepthTest, GivesThePictureInTheTwentyFourBitLayout)
{
    auto picture = TryDecodePicture(BmpFileBytes(GetParam().draft));
    ASSERT_TRUE(picture) << picture.Reason();
    ASSERT_EQ(picture->kind, PictureKind::Bmp);
    ASSERT_EQ(picture->width, 4u);
    ASSERT_EQ(picture->height, 3u);
    ASSERT_EQ(picture->pixels.size(), 4u * 3 * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(PixelOf(*picture, x, y), GetParam().colours[kIndexes[y][x]]) << x << "," << y;
}

BmpDraft Draft(std::uint16_t bits, std::vector<std::vector<std::uint32_t>> rows, std::vector<Rgb> palette = {})
{
    BmpDraft draft;
    draft.width = kWidth;
    draft.height = kHeight;
    draft.bitCount = bits;
    draft.palette = std::move(palette);
    draft.pixels = DibRows(rows, bits);
    return draft;
}

BmpDraft TopDown()
{
    BmpDraft draft = Draft(24, {});
    draft.height = -kHeight;
    // Rows as given, top row first, each padded to 4 bytes.
    for (const auto& row : Rows({0x000000, 0xFF0000, 0x00FF00, 0x0000FF})) {
        for (std::uint32_t v : row)
            draft.pixels.insert(draft.pixels.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)});
    }
    return draft;
}

BmpDraft Bitfields(std::uint16_t bits, std::vector<std::uint32_t> masks, std::vector<std::uint32_t> values)
{
    BmpDraft draft = Draft(bits, Rows(values));
    draft.compression = 3;
    draft.masks = std::move(masks);
    return draft;
}

BmpDraft Rle(std::uint16_t bits, Bytes data)
{
    BmpDraft draft;
    draft.width = kWidth;
    draft.height = kHeight;
    draft.bitCount = bits;
    draft.compression = bits == 8 ? 1 : 2;
    draft.palette = kColours;
    draft.pixels = std::move(data);
    return draft;
}

BmpDraft Core()
{
    BmpDraft draft = Draft(8, kIndexes, kColours);
    draft.coreHeader = true;
    draft.palette.resize(256);
    return draft;
}

INSTANTIATE_TEST_SUITE_P(
    Depths, BmpDepthTest,
    ::testing::Values(
        BmpRow{"OneBit", Draft(1, Rows({0, 1, 0, 1}), {0x102030, 0xF0E0D0}),
               {0x102030, 0xF0E0D0, 0x102030, 0xF0E0D0}},
        BmpRow{"FourBit", Draft(4, kIndexes, kColours)},
        BmpRow{"EightBit", Draft(8, kIndexes, kColours)},
        BmpRow{"EightBitCoreHeader", Core()},
        BmpRow{"SixteenBit555", Draft(16, Rows({0x0000, 0x7C00, 0x03E0, 0x4210})),
               {0x000000, 0xFF0000, 0x00FF00, 0x848484}},
        BmpRow{"SixteenBit565", Bitfields(16, {0xF800, 0x07E0, 0x001F}, {0x0000, 0xF800, 0x07E0, 0x001F})},
        BmpRow{"TwentyFourBit", Draft(24, Rows({0x000000, 0xFF0000, 0x00FF00, 0x0000FF}))},
        BmpRow{"ThirtyTwoBit", Draft(32, Rows({0xAA000000, 0x55FF0000, 0x0000FF00, 0xFF0000FF}))},
        BmpRow{"ThirtyTwoBitFieldsReversed",
               Bitfields(32, {0x000000FF, 0x0000FF00, 0x00FF0000}, {0x000000, 0x0000FF, 0x00FF00, 0xFF0000})},
        BmpRow{"TopDown", TopDown()},
        // Bottom row first: two runs; then an absolute run; then four runs of one.
        BmpRow{"Rle8", Rle(8, {2, 1, 2, 2, 0, 0, 0, 4, 3, 2, 1, 0, 0, 0, 1, 0, 1, 1, 1, 2, 1, 3, 0, 1})},
        BmpRow{"Rle4", Rle(4, {2, 0x11, 2, 0x22, 0, 0, 0, 4, 0x32, 0x10, 0, 0, 0, 4, 0x01, 0x23, 0, 1})}),
    RowLabel());

struct RefusedRow {
    const char* label;
    Bytes file;
    const char* reason;
};

class BmpRefusedTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(BmpRefusedTest, IsRefusedWithItsReason)
{
    EXPECT_EQ(TryDecodePicture(GetParam().file).Reason(), GetParam().reason);
}

Bytes With(BmpDraft draft, void (*change)(BmpDraft&))
{
    change(draft);
    return BmpFileBytes(draft);
}

Bytes Patched(Bytes file, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return file;
}

Bytes Cut(Bytes file, std::size_t size)
{
    file.resize(size);
    return file;
}

const BmpDraft kPlain = Draft(24, Rows({0x000000, 0xFF0000, 0x00FF00, 0x0000FF}));

INSTANTIATE_TEST_SUITE_P(
    Refusals, BmpRefusedTest,
    ::testing::Values(
        RefusedRow{"TwoBits", With(kPlain, [](BmpDraft& s) { s.bitCount = 2; }), "bitmap depth not supported"},
        RefusedRow{"Rle8OfFourBits", With(Draft(4, kIndexes, kColours), [](BmpDraft& s) { s.compression = 1; }),
                   "bitmap compression not supported for its depth"},
        RefusedRow{"BitfieldsOfTwentyFourBits",
                   With(kPlain, [](BmpDraft& s) { s.compression = 3; s.masks = {1, 2, 4}; }),
                   "bitmap compression not supported for its depth"},
        RefusedRow{"JpegInside", With(kPlain, [](BmpDraft& s) { s.compression = 4; }),
                   "bitmap compression not supported for its depth"},
        RefusedRow{"WidthZero", With(kPlain, [](BmpDraft& s) { s.width = 0; }), "bitmap size empty or too large"},
        RefusedRow{"Width20000", With(kPlain, [](BmpDraft& s) { s.width = 20000; }), "bitmap size empty or too large"},
        RefusedRow{"HeightMostNegative", With(kPlain, [](BmpDraft& s) { s.height = INT32_MIN; }),
                   "bitmap size empty or too large"},
        RefusedRow{"TooMuchMemory", With(kPlain, [](BmpDraft& s) { s.width = 16000; s.height = 16000; }),
                   "picture needs too much memory"},
        RefusedRow{"RowsPastTheEnd", With(kPlain, [](BmpDraft& s) { s.pixels.resize(30); }),
                   "pixel rows run past the end of the data"},
        RefusedRow{"ColourTablePastTheEnd",
                   With(Draft(8, kIndexes, kColours), [](BmpDraft& s) { s.coloursUsed = 200; s.pixels.clear(); }),
                   "colour table runs past the end"},
        RefusedRow{"HeaderOfThirtyBytes", Patched(BmpFileBytes(kPlain), 14, 30),
                   "bitmap header of unknown size or past the end"},
        RefusedRow{"HeaderPastTheEnd", Patched(BmpFileBytes(kPlain), 14, 4000),
                   "bitmap header of unknown size or past the end"},
        RefusedRow{"PixelOffsetPastTheEnd", Patched(BmpFileBytes(kPlain), 10, 5000),
                   "pixel offset past the end of the file"},
        RefusedRow{"RleTopDown", With(Rle(8, {0, 1}), [](BmpDraft& s) { s.height = -kHeight; }),
                   "run-length bitmap stored top-down"},
        RefusedRow{"FileHeaderOnly", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0}, "BMP file header runs past the end"},
        RefusedRow{"NoBitmapHeader", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0},
                   "bitmap header missing"},
        RefusedRow{"CoreHeaderCut", Cut(BmpFileBytes(Core()), 14 + 8), "bitmap header runs past the end"},
        RefusedRow{"MasksPastTheEnd",
                   Cut(BmpFileBytes(Bitfields(16, {0xF800, 0x07E0, 0x001F}, {0, 0, 0, 0})), 14 + 40 + 8),
                   "bitmap colour masks run past the end"}),
    RowLabel());

TEST(BmpReader, RunsStayInsideTheirRow)
{
    // Bottom row: a run of 10 (cut at 4), end of line; next row: a run of 4,
    // a delta of one pixel to the right and a run of one; the top row is
    // never reached.
    BmpDraft draft = Rle(8, {10, 1, 0, 0, 4, 2, 0, 2, 1, 0, 1, 3, 0, 1});
    draft.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    auto picture = TryDecodePicture(BmpFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(PixelOf(*picture, x, 2), 0xFF0000u) << x;
        EXPECT_EQ(PixelOf(*picture, x, 1), 0x00FF00u) << x;
    }
    // The delta moved past the edge: the run after it draws nothing, in
    // this row or the next.
    for (int x = 0; x < kWidth; ++x)
        EXPECT_EQ(PixelOf(*picture, x, 0), 0x000000u) << x;
}

TEST(BmpReader, DeltaAndEarlyEndLeaveColourZero)
{
    // Delta (1, 0) then two pixels; the data then ends without an end code.
    BmpDraft draft = Rle(8, {0, 2, 1, 0, 2, 3});
    draft.palette = {0x101010, 0xFF0000, 0x00FF00, 0x0000FF};
    auto picture = TryDecodePicture(BmpFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 2), 0x101010u);
    EXPECT_EQ(PixelOf(*picture, 1, 2), 0x0000FFu);
    EXPECT_EQ(PixelOf(*picture, 2, 2), 0x0000FFu);
    EXPECT_EQ(PixelOf(*picture, 3, 2), 0x101010u);
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x101010u);
}

TEST(BmpReader, IndexesBeyondTheColourTableAreBlack)
{
    BmpDraft draft = Draft(8, {{0, 1, 200, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}}, {0x808080, 0xFFFFFF});
    draft.coloursUsed = 2;
    auto picture = TryDecodePicture(BmpFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0x808080u);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(*picture, 2, 0), 0x000000u);
    EXPECT_EQ(PixelOf(*picture, 3, 0), 0x000000u);
}

TEST(BmpReader, PixelOffsetZeroMeansRightAfterTheColourTable)
{
    BmpDraft draft = Draft(8, kIndexes, kColours);
    draft.pixelOffset = 0;
    auto picture = TryDecodePicture(BmpFileBytes(draft));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 3, 0), 0x0000FFu);
}

}  // namespace
