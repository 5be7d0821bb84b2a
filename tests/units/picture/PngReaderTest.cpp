// PNG through libpng: 32-bit blue-green-red-alpha pixels, rows top-down.

#include <gtest/gtest.h>

#include <zlib.h>

#include <optional>

#include "tests/units/picture/PixelProbe.h"
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

void PutBig32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A chunk: length, type, data and the CRC over type and data.
void PutChunk(Bytes& out, const char (&type)[5], const Bytes& data)
{
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

// An 8-bit palette PNG written chunk by chunk, so that its colour table can
// be any length or left out: `table` is the PLTE chunk's data as it is.
Bytes PalettePng(std::uint32_t width, std::uint32_t height, const std::optional<Bytes>& table,
                 const std::vector<std::uint8_t>& indexes)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, no interlace
    PutChunk(out, "IHDR", header);
    if (table)
        PutChunk(out, "PLTE", *table);
    Bytes rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        rows.insert(rows.end(), indexes.begin() + y * width, indexes.begin() + (y + 1) * width);
    }
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    Bytes data(size);
    compress(data.data(), &size, rows.data(), static_cast<uLong>(rows.size()));
    data.resize(size);
    PutChunk(out, "IDAT", data);
    PutChunk(out, "IEND", {});
    return out;
}

const Bytes kRedGreenBlue = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF};

TEST(PngReader, ExpandsPaletteColours)
{
    auto picture = TryDecodePicture(PalettePng(3, 2, kRedGreenBlue, {0, 1, 2, 2, 1, 0}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0x00FF00u);
    EXPECT_EQ(PixelOf(*picture, 2, 0), 0x0000FFu);
    EXPECT_EQ(PixelOf(*picture, 0, 1), 0x0000FFu);
    EXPECT_EQ(AlphaOf(*picture, 2, 1), 255);
}

TEST(PngReader, RefusesDamagedData)
{
    Bytes file = PngFileBytes(4, 4, std::vector<std::uint32_t>(16, 0xFF808080));
    Bytes cut(file.begin(), file.begin() + 30);  // inside the header chunk
    EXPECT_EQ(TryDecodePicture(cut).Reason(), "PNG header unreadable");

    Bytes flipped = file;
    flipped[flipped.size() - 20] ^= 0xFF;  // inside the image data: a CRC error
    EXPECT_EQ(TryDecodePicture(flipped).Reason(), "PNG data unreadable");

    // The image data ends halfway: the trailer and half the compressed rows
    // are missing.
    Bytes noise = PngFileBytes(32, 32, [] {
        std::vector<std::uint32_t> argb;
        for (std::uint8_t b : NoiseBytes(32 * 32 * 3, 7))
            argb.push_back(0xFF000000u | b * 0x010101u);
        return argb;
    }());
    Bytes half(noise.begin(), noise.begin() + static_cast<std::ptrdiff_t>(noise.size() / 2));
    EXPECT_EQ(TryDecodePicture(half).Reason(), "PNG data unreadable");
}

TEST(PngReader, RefusesBrokenColourTables)
{
    EXPECT_EQ(TryDecodePicture(PalettePng(3, 1, std::nullopt, {0, 1, 2})).Reason(), "PNG header unreadable");
    Bytes ragged = kRedGreenBlue;
    ragged.pop_back();  // not whole entries
    EXPECT_EQ(TryDecodePicture(PalettePng(3, 1, ragged, {0, 1, 2})).Reason(), "PNG header unreadable");
    Bytes tooLong(257 * 3, 0x40);
    EXPECT_EQ(TryDecodePicture(PalettePng(3, 1, tooLong, {0, 1, 2})).Reason(), "PNG header unreadable");
}

TEST(PngReader, IndexesBeyondTheColourTableAreHarmless)
{
    auto picture = TryDecodePicture(PalettePng(3, 1, kRedGreenBlue, {0, 200, 2}));
    ASSERT_TRUE(picture) << picture.Reason();
    EXPECT_EQ(PixelOf(*picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(*picture, 1, 0), 0x000000u);
    EXPECT_EQ(PixelOf(*picture, 2, 0), 0x0000FFu);
}

// The header chunk's width and height (bytes 16 to 23, big-endian) set to
// the given sides, with its CRC (over type and data, bytes 12 to 28) made
// right again, so that only the size is wrong.
Bytes WithSides(Bytes file, std::uint32_t width, std::uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        file[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        file[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    uLong crc = crc32(0, file.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        file[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    return file;
}

TEST(PngReader, RefusesOversizedHeaders)
{
    Bytes file = PngFileBytes(4, 4, std::vector<std::uint32_t>(16, 0xFF808080));
    EXPECT_EQ(TryDecodePicture(WithSides(file, 20000, 4)).Reason(), "picture size empty or too large");
    EXPECT_EQ(TryDecodePicture(WithSides(file, 4, 20000)).Reason(), "picture size empty or too large");
    // 16000 × 16000 × 4 bytes is more than all of a picture's buffers may take.
    EXPECT_EQ(TryDecodePicture(WithSides(file, 16000, 16000)).Reason(), "picture needs too much memory");
}

}  // namespace
