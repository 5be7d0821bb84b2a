#include "units/picture/private/JpegReader.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include <jpeglib.h>

#include "units/picture/private/PictureBudget.h"
#include "units/picture/private/PixelMemory.h"

namespace vellumry::units {
namespace {

// A progressive picture may hold any number of scans, each a pass over the
// whole picture; a few hundred is far more than any encoder writes, and the
// cap keeps hostile data from keeping a unit busy for minutes.
constexpr int kMaxScans = 500;

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back into Guarded below, across libjpeg's own frames and one step
// function that holds nothing with a destructor; every C++ object of the
// decode lives in the frames above Guarded, which the jump never crosses.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        OnError(info);
}

// One decode's libjpeg state, released on every way out.
struct JpegSession {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    bool created = false;
    // Where each decompressed row goes, top row first (the block stores
    // them bottom-up).
    JSAMPROW* rows = nullptr;

    JpegSession()
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = OnError;
        errors.base.output_message = IgnoreMessage;
        progress.progress_monitor = LimitScans;
    }
    ~JpegSession()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;
};

using Step = void (*)(JpegSession& session, std::span<const std::uint8_t> bytes);

bool Guarded(JpegSession& session, Step step, std::span<const std::uint8_t> bytes)
{
    if (setjmp(session.errors.jump) != 0)
        return false;
    step(session, bytes);
    return true;
}

void ReadHeader(JpegSession& s, std::span<const std::uint8_t> bytes)
{
    jpeg_create_decompress(&s.info);
    s.created = true;
    s.info.progress = &s.progress;
    jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.info, TRUE);
    // libjpeg-turbo writes blue-green-red directly: the same bytes as
    // swapping red and blue of its RGB output, without the second pass.
    s.info.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&s.info);
}

void Decompress(JpegSession& s, std::span<const std::uint8_t>)
{
    jpeg_start_decompress(&s.info);
    // All rows at once: libjpeg then returns as many as each pass yields.
    while (s.info.output_scanline < s.info.output_height)
        jpeg_read_scanlines(&s.info, s.rows + s.info.output_scanline, s.info.output_height - s.info.output_scanline);
    jpeg_finish_decompress(&s.info);
}

}  // namespace

bool SniffJpeg(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

DecodeResult<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes)
{
    if (!SniffJpeg(bytes))
        return Refuse("not a JPEG file");
    JpegSession session;
    if (!Guarded(session, ReadHeader, bytes))
        return Refuse("JPEG header unreadable");
    const std::uint32_t width = session.info.output_width;
    const std::uint32_t height = session.info.output_height;
    if (!SidesAllowed(width, height) || session.info.output_components != 3)
        return Refuse("picture size empty or too large");
    PictureBudget budget;
    if (!budget.ReserveRows(height, std::uint64_t{width} * 3 + sizeof(JSAMPROW)))
        return Refuse("picture needs too much memory");
    // libjpeg's own buffers (whole-picture coefficients for progressive
    // data) share the rest of the budget.
    session.info.mem->max_memory_to_use = static_cast<long>(budget.Left());

    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = width;
    picture.height = height;
    // Every row is written before the picture is handed out.
    SizePixelsUnfilled(picture.pixels, std::size_t{width} * height * 3);
    std::vector<JSAMPROW> rows(height);
    const std::size_t stride = std::size_t{width} * 3;
    for (std::uint32_t y = 0; y < height; ++y)
        rows[y] = picture.pixels.data() + (height - 1 - y) * stride;
    session.rows = rows.data();
    if (!Guarded(session, Decompress, bytes))
        return Refuse("JPEG data unreadable");
    return picture;
}

}  // namespace vellumry::units
