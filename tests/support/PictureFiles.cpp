#include "tests/support/PictureFiles.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <map>
#include <stdexcept>
#include <utility>

#include <jpeglib.h>
#include <png.h>

namespace vellumry::test {
namespace {

std::uint8_t Red(Rgb c) { return static_cast<std::uint8_t>(c >> 16); }
std::uint8_t Green(Rgb c) { return static_cast<std::uint8_t>(c >> 8); }
std::uint8_t Blue(Rgb c) { return static_cast<std::uint8_t>(c); }

void PutQuad(Bytes& out, Rgb colour)
{
    out.insert(out.end(), {Blue(colour), Green(colour), Red(colour), 0});
}

[[noreturn]] void JpegError(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, message);
    throw std::runtime_error(message);
}

}  // namespace

void Put16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

RgbPicture TestPattern(int width, int height)
{
    RgbPicture picture{width, height, std::vector<Rgb>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto grey = static_cast<Rgb>((x * 255 / std::max(width - 1, 1) + y * 7) & 0xFF);
            Rgb colour = grey * 0x010101;
            switch ((y / 4) % 4) {
            case 0: colour = (colour & 0x00FFFF) | 0xFF0000; break;
            case 1: colour = (colour & 0xFF00FF) | 0x00FF00; break;
            case 2: colour = (colour & 0xFFFF00) | 0x0000FF; break;
            default: break;
            }
            picture.pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    return picture;
}

// The encoder throws from its error exit; the test writer is C++ through
// and through, and libjpeg's frames hold nothing to release.
Bytes JpegFileBytes(const RgbPicture& picture, int quality, bool progressive, bool subsampled)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = JpegError;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = c == 0 && subsampled ? 2 : 1;
        info.comp_info[c].v_samp_factor = c == 0 && subsampled ? 2 : 1;
    }
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 3);
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.width; ++x) {
            Rgb c = picture.At(x, y);
            row[3 * x] = Red(c);
            row[3 * x + 1] = Green(c);
            row[3 * x + 2] = Blue(c);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void TrapError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// The jump lands in this frame, which holds only plain C objects; the rows
// go into `rgb`, owned by the caller.
bool RunReferenceDecoder(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgb,
                         std::vector<JSAMPROW>& rows)
{
    ErrorTrap trap{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapError;
    // Warnings (data cut short, for one) go unprinted.
    trap.manager.output_message = [](j_common_ptr) {};
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    rgb.resize(static_cast<std::size_t>(width) * height * 3);
    rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[y] = rgb.data() + static_cast<std::size_t>(y) * width * 3;
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows.data() + info.output_scanline, info.output_height - info.output_scanline);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool JpegDecodeToRgb(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgb)
{
    std::vector<JSAMPROW> rows;
    return RunReferenceDecoder(bytes, width, height, rgb, rows);
}

std::optional<RgbPicture> JpegReferenceDecode(std::span<const std::uint8_t> bytes)
{
    RgbPicture picture;
    std::vector<std::uint8_t> rgb;
    if (!JpegDecodeToRgb(bytes, picture.width, picture.height, rgb))
        return std::nullopt;
    picture.pixels.resize(rgb.size() / 3);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = (Rgb{rgb[3 * i]} << 16) | (Rgb{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
    return picture;
}

Bytes PngFileBytes(int width, int height, const std::vector<std::uint32_t>& argb)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in little-endian memory
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, argb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    Bytes bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, argb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    bytes.resize(size);
    return bytes;
}

Bytes BmpFileBytes(const BmpDraft& draft)
{
    Bytes header;
    if (draft.coreHeader) {
        Put32(header, 12);
        Put16(header, static_cast<std::uint32_t>(draft.width));
        Put16(header, static_cast<std::uint32_t>(draft.height));
        Put16(header, 1);
        Put16(header, draft.bitCount);
    } else {
        Put32(header, 40);
        Put32(header, static_cast<std::uint32_t>(draft.width));
        Put32(header, static_cast<std::uint32_t>(draft.height));
        Put16(header, 1);
        Put16(header, draft.bitCount);
        Put32(header, draft.compression);
        Put32(header, static_cast<std::uint32_t>(draft.pixels.size()));
        Put32(header, 2835);
        Put32(header, 2835);
        bool indexed = draft.bitCount <= 8;
        auto tableSize = indexed ? static_cast<std::uint32_t>(draft.palette.size()) : 0;
        Put32(header, draft.coloursUsed ? draft.coloursUsed : tableSize);
        Put32(header, 0);
    }
    for (std::uint32_t mask : draft.masks)
        Put32(header, mask);
    for (Rgb colour : draft.palette) {
        if (draft.coreHeader)
            header.insert(header.end(), {Blue(colour), Green(colour), Red(colour)});
        else
            PutQuad(header, colour);
    }
    Bytes file{'B', 'M'};
    std::uint32_t offset = draft.pixelOffset.value_or(static_cast<std::uint32_t>(14 + header.size()));
    Put32(file, static_cast<std::uint32_t>(14 + header.size() + draft.pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), draft.pixels.begin(), draft.pixels.end());
    return file;
}

Bytes DibRows(const std::vector<std::vector<std::uint32_t>>& topDownRows, std::uint16_t bitCount)
{
    Bytes out;
    for (auto row = topDownRows.rbegin(); row != topDownRows.rend(); ++row) {
        Bytes packed;
        std::uint32_t bits = 0;
        int bitsHeld = 0;
        for (std::uint32_t value : *row) {
            if (bitCount >= 8) {
                for (int i = 0; i < bitCount / 8; ++i)
                    packed.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
                continue;
            }
            bits = (bits << bitCount) | value;
            bitsHeld += bitCount;
            if (bitsHeld == 8) {
                packed.push_back(static_cast<std::uint8_t>(bits));
                bits = 0;
                bitsHeld = 0;
            }
        }
        if (bitsHeld > 0)
            packed.push_back(static_cast<std::uint8_t>(bits << (8 - bitsHeld)));
        while (packed.size() % 4 != 0)
            packed.push_back(0);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

Bytes IconDib(int width, int height, std::uint16_t bitCount, const std::vector<Rgb>& palette,
              const std::vector<std::vector<std::uint32_t>>& colourRows,
              const std::vector<std::vector<std::uint32_t>>& maskRows)
{
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    for (Rgb colour : palette)
        PutQuad(out, colour);
    Bytes colours = DibRows(colourRows, bitCount);
    Bytes mask = DibRows(maskRows, 1);
    out.insert(out.end(), colours.begin(), colours.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

Bytes IconFileBytes(std::uint16_t type, const std::vector<IconEntryDraft>& entries)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    auto next = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IconEntryDraft& entry : entries) {
        out.insert(out.end(), {entry.width, entry.height, entry.colourCount, 0});
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, entry.size.value_or(static_cast<std::uint32_t>(entry.image.size())));
        Put32(out, entry.offset.value_or(next));
        next += static_cast<std::uint32_t>(entry.image.size());
    }
    for (const IconEntryDraft& entry : entries)
        out.insert(out.end(), entry.image.begin(), entry.image.end());
    return out;
}

Bytes GifLzwData(std::span<const std::uint8_t> indexes, int minimumCodeSize, bool clearWhenFull)
{
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    int codeSize = minimumCodeSize + 1;
    int next = clear + 2;
    std::map<std::pair<int, std::uint8_t>, int> table;
    Bytes codes;
    std::uint32_t bits = 0;
    int bitsHeld = 0;
    auto emit = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << bitsHeld;
        bitsHeld += codeSize;
        while (bitsHeld >= 8) {
            codes.push_back(static_cast<std::uint8_t>(bits));
            bits >>= 8;
            bitsHeld -= 8;
        }
    };
    auto reset = [&] {
        table.clear();
        codeSize = minimumCodeSize + 1;
        next = clear + 2;
    };
    emit(clear);
    int prefix = -1;
    for (std::uint8_t index : indexes) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        auto found = table.find({prefix, index});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        if (next < 4096) {
            table[{prefix, index}] = next++;
            // The decoder adds this entry one code later, and widens its codes
            // when its table reaches the next power of two.
            if (next - 1 == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        } else if (clearWhenFull) {
            emit(clear);
            reset();
        }
        prefix = index;
    }
    if (prefix >= 0) {
        emit(prefix);
        if (next < 4096 && next == (1 << codeSize) && codeSize < 12)
            ++codeSize;
    }
    emit(end);
    if (bitsHeld > 0)
        codes.push_back(static_cast<std::uint8_t>(bits));

    Bytes out;
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        std::size_t n = std::min<std::size_t>(255, codes.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
                   codes.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    return out;
}

namespace {

int TableBits(std::size_t entries)
{
    int bits = 1;
    while ((std::size_t{1} << bits) < entries)
        ++bits;
    return bits;
}

void PutTable(Bytes& out, const std::vector<Rgb>& table)
{
    std::size_t padded = std::size_t{1} << TableBits(table.size());
    for (std::size_t i = 0; i < padded; ++i) {
        Rgb c = i < table.size() ? table[i] : 0;
        out.insert(out.end(), {Red(c), Green(c), Blue(c)});
    }
}

}  // namespace

Bytes GifFileBytes(const GifDraft& draft)
{
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, static_cast<std::uint32_t>(draft.width));
    Put16(out, static_cast<std::uint32_t>(draft.height));
    bool global = !draft.globalTable.empty();
    out.push_back(global ? static_cast<std::uint8_t>(0x80 | (TableBits(draft.globalTable.size()) - 1)) : 0);
    out.push_back(draft.background);
    out.push_back(0);
    if (!draft.globalTable.empty())
        PutTable(out, draft.globalTable);
    if (draft.loopCount) {
        out.insert(out.end(), {0x21, 0xFF, 11});
        for (char c : std::string("NETSCAPE2.0"))
            out.push_back(static_cast<std::uint8_t>(c));
        out.insert(out.end(), {3, 1});
        Put16(out, static_cast<std::uint32_t>(*draft.loopCount));
        out.push_back(0);
    }
    for (const GifFrameDraft& frame : draft.frames) {
        if (frame.graphicControl) {
            out.insert(out.end(), {0x21, 0xF9, 4});
            out.push_back(static_cast<std::uint8_t>((frame.disposal << 2) | (frame.transparent ? 1 : 0)));
            Put16(out, static_cast<std::uint32_t>(frame.delay));
            out.push_back(frame.transparent.value_or(0));
            out.push_back(0);
        }
        out.push_back(0x2C);
        Put16(out, static_cast<std::uint32_t>(frame.left));
        Put16(out, static_cast<std::uint32_t>(frame.top));
        Put16(out, static_cast<std::uint32_t>(frame.width));
        Put16(out, static_cast<std::uint32_t>(frame.height));
        std::uint8_t flags = frame.interlaced ? 0x40 : 0;
        if (!frame.localTable.empty())
            flags |= static_cast<std::uint8_t>(0x80 | (TableBits(frame.localTable.size()) - 1));
        out.push_back(flags);
        if (!frame.localTable.empty())
            PutTable(out, frame.localTable);
        // Interlaced frames store their rows pass by pass.
        std::vector<std::uint8_t> stored;
        if (frame.interlaced) {
            for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < frame.height; y += step)
                    stored.insert(stored.end(), frame.indexes.begin() + y * frame.width,
                                  frame.indexes.begin() + (y + 1) * frame.width);
        } else {
            stored = frame.indexes;
        }
        const std::vector<Rgb>& table = frame.localTable.empty() ? draft.globalTable : frame.localTable;
        int minimum = frame.minimumCodeSize ? frame.minimumCodeSize : std::max(2, TableBits(table.size()));
        out.push_back(static_cast<std::uint8_t>(minimum));
        Bytes data = frame.data ? *frame.data : GifLzwData(stored, minimum, frame.clearWhenFull);
        out.insert(out.end(), data.begin(), data.end());
    }
    if (draft.trailer)
        out.push_back(0x3B);
    return out;
}

Bytes PcxRunLengths(std::span<const std::uint8_t> bytes)
{
    Bytes out;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t run = 1;
        while (at + run < bytes.size() && bytes[at + run] == bytes[at] && run < 63)
            ++run;
        if (run > 1 || (bytes[at] & 0xC0) == 0xC0)
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(bytes[at]);
        at += run;
    }
    return out;
}

Bytes PcxFileBytes(const PcxDraft& draft)
{
    Bytes out{0x0A, draft.version, 1, draft.bitsPerPixel};
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(draft.width - 1));
    Put16(out, static_cast<std::uint32_t>(draft.height - 1));
    Put16(out, 72);
    Put16(out, 72);
    out.resize(out.size() + 48, 0);
    out.push_back(0);
    out.push_back(1);  // planes
    Put16(out, static_cast<std::uint32_t>(draft.bytesPerLine));
    Put16(out, 1);
    Put16(out, 0);
    Put16(out, 0);
    out.resize(128, 0);
    // Each scan line is encoded on its own, as most writers do.
    for (int y = 0; y < draft.height; ++y) {
        Bytes line = PcxRunLengths(std::span(draft.lines).subspan(static_cast<std::size_t>(y) * draft.bytesPerLine,
                                                                 static_cast<std::size_t>(draft.bytesPerLine)));
        out.insert(out.end(), line.begin(), line.end());
    }
    if (!draft.palette.empty()) {
        out.push_back(0x0C);
        for (std::size_t i = 0; i < 256; ++i) {
            Rgb c = i < draft.palette.size() ? draft.palette[i] : 0;
            out.insert(out.end(), {Red(c), Green(c), Blue(c)});
        }
    }
    return out;
}

std::vector<std::uint8_t> NoiseBytes(std::size_t count, std::uint32_t seed, std::uint8_t modulo)
{
    std::vector<std::uint8_t> out(count);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint8_t& byte : out) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(modulo ? (state >> 8) % modulo : state >> 8);
    }
    return out;
}

}  // namespace vellumry::test
