#include "tools/assets/JpegWriter.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <jpeglib.h>

namespace vellumry::assets {

namespace {

constexpr int kLowestQuality = 20;
constexpr int kHighestQuality = 95;
// Marker (2 bytes) and length field (2 bytes) of a segment.
constexpr std::size_t kSegmentOverhead = 4;
constexpr std::size_t kMaxSegmentPayload = 65533;
constexpr std::string_view kCommentText = "Vellumry ";

// The generator is a build step: a libjpeg failure means a broken build
// machine, so the message is printed and the step fails.
[[noreturn]] void FailBuildStep(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "vellumry_assetgen: libjpeg: %s\n", message);
    std::exit(1);
}

// A libjpeg compressor whose failures end the build step.
class Compressor {
public:
    Compressor()
    {
        m_info.err = jpeg_std_error(&m_errors);
        m_errors.error_exit = FailBuildStep;
        jpeg_create_compress(&m_info);
    }
    ~Compressor() { jpeg_destroy_compress(&m_info); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct* Info() { return &m_info; }

private:
    jpeg_error_mgr m_errors{};
    jpeg_compress_struct m_info{};
};

struct FreeDeleter {
    void operator()(unsigned char* block) const { std::free(block); }
};

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Raster& picture, int quality, std::size_t commentSegmentBytes)
{
    if (commentSegmentBytes != 0 &&
        (commentSegmentBytes < kSegmentOverhead || commentSegmentBytes - kSegmentOverhead > kMaxSegmentPayload)) {
        std::fprintf(stderr, "vellumry_assetgen: a comment segment of %zu bytes cannot be written\n",
                     commentSegmentBytes);
        std::exit(1);
    }

    Compressor compressor;
    jpeg_compress_struct* info = compressor.Info();
    // libjpeg allocates the output with malloc and may replace it while it grows.
    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;
    jpeg_mem_dest(info, &buffer, &bufferSize);

    info->image_width = static_cast<JDIMENSION>(picture.Width());
    info->image_height = static_cast<JDIMENSION>(picture.Height());
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    info->optimize_coding = TRUE;
    info->dct_method = JDCT_ISLOW;
    jpeg_start_compress(info, TRUE);

    if (commentSegmentBytes != 0) {
        std::vector<JOCTET> comment(commentSegmentBytes - kSegmentOverhead);
        for (std::size_t i = 0; i < comment.size(); ++i)
            comment[i] = static_cast<JOCTET>(kCommentText[i % kCommentText.size()]);
        jpeg_write_marker(info, JPEG_COM, comment.data(), static_cast<unsigned int>(comment.size()));
    }

    std::vector<std::uint8_t> rgb = picture.ToRgb8();
    const std::size_t stride = static_cast<std::size_t>(picture.Width()) * 3;
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = rgb.data() + info->next_scanline * stride;
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);

    std::unique_ptr<unsigned char, FreeDeleter> output(buffer);
    return std::vector<std::uint8_t>(output.get(), output.get() + bufferSize);
}

std::vector<std::uint8_t> EncodeJpegOfSize(const Raster& picture, std::size_t fileSize)
{
    for (int quality = kHighestQuality; quality >= kLowestQuality; --quality) {
        std::size_t plain = EncodeJpeg(picture, quality).size();
        if (plain + kSegmentOverhead <= fileSize && fileSize - plain - kSegmentOverhead <= kMaxSegmentPayload) {
            std::vector<std::uint8_t> bytes = EncodeJpeg(picture, quality, fileSize - plain);
            if (bytes.size() == fileSize)
                return bytes;
        }
    }
    std::fprintf(stderr, "vellumry_assetgen: no JPEG quality fits the picture into %zu bytes\n", fileSize);
    std::exit(1);
}

}  // namespace vellumry::assets
