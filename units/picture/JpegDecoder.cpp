#include "units/picture/private/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace vellumry::units {
namespace {

// libjpeg reports fatal errors through error_exit; returning from it is not
// allowed, so it jumps back to the decoder, which gives up on the picture.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Owns the decompressor for the life of one decode.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    Decompressor()
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = OnError;
        errors.base.output_message = IgnoreMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes)
{
    Decompressor d;
    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    // Nothing with a destructor may be created between setjmp and the last
    // libjpeg call: the jump would skip it.
    if (setjmp(d.errors.jump) != 0)
        return std::nullopt;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return std::nullopt;
    d.info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&d.info);
    std::uint32_t width = d.info.output_width;
    std::uint32_t height = d.info.output_height;
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        d.info.output_components != 3)
        return std::nullopt;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    jpeg_start_decompress(&d.info);
    std::size_t stride = static_cast<std::size_t>(width) * 3;
    while (d.info.output_scanline < height) {
        // Rows go bottom-up: the first decoded row is the last in the block.
        std::uint8_t* row = picture.pixels.data() + (height - 1 - d.info.output_scanline) * stride;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&d.info, rows, 1);
    }
    jpeg_finish_decompress(&d.info);
    for (std::size_t i = 0; i + 2 < picture.pixels.size(); i += 3)
        std::swap(picture.pixels[i], picture.pixels[i + 2]);
    return picture;
}

}  // namespace vellumry::units
