// The two generated pictures: baseline JPEGs that libjpeg decodes to the sizes
// the window and the picture box are laid out for.

#include <gtest/gtest.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/tools/assets/AssetBytes.h"

namespace {

using namespace vellumry::test;

struct Decoded {
    bool ok = false;
    std::string error;
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    long warnings = 0;
    std::vector<unsigned char> pixels;  // RGB rows top-down
};

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void TrapError(j_common_ptr info)
{
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    std::longjmp(trap->jump, 1);
}

// The libjpeg pattern for recoverable errors: the jump lands back here, in a
// frame that holds only plain C objects; everything C++ lives in `out`.
bool RunDecoder(const std::string& bytes, Decoded* out)
{
    ErrorTrap trap{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapError;
    if (setjmp(trap.jump)) {
        char message[JMSG_LENGTH_MAX] = {};
        (*info.err->format_message)(reinterpret_cast<j_common_ptr>(&info), message);
        out->error = message;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    out->progressive = info.progressive_mode != 0;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    out->components = info.output_components;
    out->pixels.resize(static_cast<std::size_t>(out->width) * out->height * out->components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels.data() + static_cast<std::size_t>(info.output_scanline) * out->width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    out->warnings = trap.manager.num_warnings;
    jpeg_destroy_decompress(&info);
    return true;
}

Decoded Decode(const std::string& bytes)
{
    Decoded result;
    result.ok = RunDecoder(bytes, &result);
    return result;
}

// The frame marker's code (0xC0 baseline, 0xC2 progressive, ...), found by
// walking the segments from the start; 0 when the walk fails.
int FrameMarker(const std::string& bytes)
{
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (U8At(bytes, at) != 0xFF)
            return 0;
        const std::uint32_t marker = U8At(bytes, at + 1);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return static_cast<int>(marker);
        at += 2 + (U8At(bytes, at + 2) << 8 | U8At(bytes, at + 3));
    }
    return 0;
}

double LuminanceDeviation(const Decoded& picture)
{
    double sum = 0;
    double squares = 0;
    const std::size_t count = picture.pixels.size() / 3;
    for (std::size_t i = 0; i < count; ++i) {
        const double y = 0.299 * picture.pixels[i * 3] + 0.587 * picture.pixels[i * 3 + 1] +
                         0.114 * picture.pixels[i * 3 + 2];
        sum += y;
        squares += y * y;
    }
    const double mean = sum / count;
    return std::sqrt(squares / count - mean * mean);
}

struct PictureCase {
    const char* file;
    int width;
    int height;
    std::size_t fileSize;
    double minDeviation;  // below this the picture is close to one flat colour
};

class GeneratedJpeg : public ::testing::TestWithParam<PictureCase> {};

TEST_P(GeneratedJpeg, IsABaselineJpegOfTheLaidOutSize)
{
    const PictureCase& c = GetParam();
    const std::string bytes = ReadAsset(c.file);
    ASSERT_EQ(bytes.size(), c.fileSize) << c.file;
    ASSERT_EQ(U16At(bytes, 0), 0xD8FFu) << "no start-of-image marker";
    EXPECT_EQ(FrameMarker(bytes), 0xC0) << "not a baseline frame";
    EXPECT_EQ(U16At(bytes, bytes.size() - 2), 0xD9FFu) << "no end-of-image marker";
}

TEST_P(GeneratedJpeg, DecodesCleanlyToItsSize)
{
    const PictureCase& c = GetParam();
    const Decoded picture = Decode(ReadAsset(c.file));
    ASSERT_TRUE(picture.ok) << picture.error;
    EXPECT_EQ(picture.warnings, 0);
    EXPECT_FALSE(picture.progressive);
    EXPECT_EQ(picture.width, c.width);
    EXPECT_EQ(picture.height, c.height);
    EXPECT_EQ(picture.components, 3);
    EXPECT_GT(LuminanceDeviation(picture), c.minDeviation);
}

INSTANTIATE_TEST_SUITE_P(Assets, GeneratedJpeg,
                         ::testing::Values(PictureCase{"background.jpg", 272, 188, 4399, 8.0},
                                           PictureCase{"picture.jpg", 824, 616, 38640, 25.0}),
                         [](const auto& info) {
                             return std::string(info.param.file).substr(0, std::string(info.param.file).find('.'));
                         });

TEST(GeneratedJpeg, TruncatedPictureFailsToDecode)
{
    // The decoder harness must be able to fail, or the checks above prove nothing.
    const std::string bytes = ReadAsset("picture.jpg");
    const Decoded cut = Decode(bytes.substr(0, 200));
    EXPECT_FALSE(cut.ok && cut.warnings == 0);
}

}  // namespace
