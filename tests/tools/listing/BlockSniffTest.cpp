#include <gtest/gtest.h>

#include <cstring>

#include "runtime/ByteWriter.h"
#include "tests/support/GbkText.h"
#include "tools/listing/BlockSniff.h"

namespace {

using namespace vellumry;
using units::BlockContent;
using Bytes = std::vector<std::uint8_t>;

Bytes Jpeg(std::uint16_t width, std::uint16_t height)
{
    // SOI, an APP0 segment to step over, then a baseline start-of-frame.
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F', 0xFF, 0xC0, 0x00, 0x11, 0x08};
    jpeg.insert(jpeg.end(), {static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                             static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 3});
    jpeg.resize(38640, 0);
    return jpeg;
}

Bytes Wave(std::uint32_t dataSize, bool listChunk)
{
    runtime::ByteWriter chunks;
    chunks.PutBytes("WAVE");
    chunks.PutBytes("fmt ");
    chunks.PutU32(16);
    chunks.PutI16(1);
    chunks.PutI16(2);
    chunks.PutU32(48000);
    chunks.PutU32(192000);
    chunks.PutI16(4);
    chunks.PutI16(16);
    if (listChunk) {
        chunks.PutBytes("LIST");
        chunks.PutU32(4);
        chunks.PutBytes("INFO");
    }
    chunks.PutBytes("data");
    chunks.PutU32(dataSize);
    runtime::ByteWriter riff;
    riff.PutBytes("RIFF");
    riff.PutU32(static_cast<std::uint32_t>(chunks.Size() + dataSize));
    riff.PutBytes(chunks.Bytes());
    Bytes wave = riff.Take();
    wave.resize(wave.size() + std::min<std::uint32_t>(dataSize, 1000), 0);  // the data may be cut short
    return wave;
}

Bytes Font(std::string_view faceGbk)
{
    Bytes font(60, 0);
    std::int32_t height = -12, weight = 700;
    std::memcpy(font.data(), &height, 4);
    std::memcpy(font.data() + 16, &weight, 4);
    std::memcpy(font.data() + 28, faceGbk.data(), faceGbk.size());
    return font;
}

struct SniffCase {
    const char* name;
    Bytes block;
    BlockContent content;
    std::string description;
};

void PrintTo(const SniffCase& c, std::ostream* out)
{
    *out << c.name;
}

class BlockDescription : public ::testing::TestWithParam<SniffCase> {};

TEST_P(BlockDescription, NamesKindSizeAndLength)
{
    EXPECT_EQ(listing::DescribeBlock(GetParam().block, GetParam().content), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockDescription,
    ::testing::Values(
        SniffCase{"Jpeg", Jpeg(824, 616), BlockContent::Picture, "JPEG 824×616, 38 KB (38640 bytes)"},
        SniffCase{"JpegWithoutFrame", {0xFF, 0xD8, 0xFF, 0xD9}, BlockContent::Picture, "JPEG, 4 bytes"},
        SniffCase{"Png",
                  {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0, 0, 0, 64},
                  BlockContent::Picture, "PNG 256×64, 24 bytes"},
        SniffCase{"Gif", {'G', 'I', 'F', '8', '9', 'a', 32, 0, 16, 0}, BlockContent::Picture, "GIF 32×16, 10 bytes"},
        SniffCase{"Bmp", [] { Bytes b(26, 0); b[0] = 'B'; b[1] = 'M'; b[18] = 8; b[22] = 4; return b; }(),
                  BlockContent::Picture, "BMP 8×4, 26 bytes"},
        SniffCase{"Icon", [] { Bytes b(22, 0); b[2] = 1; b[4] = 2; b[6] = 48; b[7] = 0; return b; }(),
                  BlockContent::Picture, "ICO 48×256 (2 images), 22 bytes"},
        SniffCase{"NotAPicture", {1, 2, 3, 4, 5}, BlockContent::Picture, "not a picture, 5 bytes"},
        SniffCase{"Empty", {}, BlockContent::Picture, "empty"},
        SniffCase{"Wave", Wave(10956800, true), BlockContent::Sound,
                  "WAV PCM 48000 Hz, 2 channels, 16 bits, 57.07 s, data 10956800 bytes, chunks \"fmt \", \"LIST\", "
                  "\"data\", 1 KB (1056 bytes)"},
        SniffCase{"Midi", {'M', 'T', 'h', 'd', 0, 0, 0, 6}, BlockContent::Sound, "MIDI, 8 bytes"},
        SniffCase{"NotASound", {'R', 'I', 'F', 'F'}, BlockContent::Sound, "not a sound, 4 bytes"},
        SniffCase{"Font", Font("\xCB\xCE\xCC\xE5"), BlockContent::Font, "font \"宋体\", height -12, weight 700"},
        SniffCase{"NotAFont", Bytes(59, 1), BlockContent::Font, "not a font (the default font), 59 bytes"},
        SniffCase{"ImageList", {'M', 'I', 'T', 'L', 0, 0, 0, 0, 'I', 'L'}, BlockContent::ImageList,
                  "image list, 10 bytes"},
        SniffCase{"NoImageList", {'M', 'I', 'T', 'L'}, BlockContent::ImageList, "no image list, 4 bytes"},
        SniffCase{"Data", Bytes(2 * 1024 * 1024 + 100, 0), BlockContent::Data, "2.0 MB (2097252 bytes)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockDescription, DamagedHeadersAreReadOnlyAsFarAsTheyGo)
{
    // A chunk that claims more than the block holds, and a JPEG segment
    // running past the end: described, never read beyond the bytes.
    Bytes wave = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 0xFF, 0xFF, 0xFF, 0x7F, 1};
    EXPECT_EQ(listing::DescribeBlock(wave, BlockContent::Sound), "WAV, chunks \"fmt \", 21 bytes");
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 0};
    EXPECT_EQ(listing::DescribeBlock(jpeg, BlockContent::Picture), "JPEG, 7 bytes");
}

}  // namespace
