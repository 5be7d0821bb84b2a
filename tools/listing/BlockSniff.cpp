#include "tools/listing/BlockSniff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/codepage/CodePage.h"
#include "runtime/ByteReader.h"
#include "units/listview/ImageListBlob.h"

namespace vellumry::listing {
namespace {

using Block = std::span<const std::uint8_t>;

struct Dimensions {
    const char* kind;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

bool StartsWith(Block block, std::string_view magic)
{
    return block.size() >= magic.size() && std::memcmp(block.data(), magic.data(), magic.size()) == 0;
}

std::uint32_t BigEndian16(Block b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 8) | b[at + 1];
}

std::uint32_t BigEndian32(Block b, std::size_t at)
{
    return (BigEndian16(b, at) << 16) | BigEndian16(b, at + 2);
}

std::uint32_t LittleEndian16(Block b, std::size_t at)
{
    return b[at] | (std::uint32_t{b[at + 1]} << 8);
}

std::uint32_t LittleEndian32(Block b, std::size_t at)
{
    return LittleEndian16(b, at) | (LittleEndian16(b, at + 2) << 16);
}

// Walks the JPEG markers to the first start-of-frame.
std::optional<Dimensions> JpegDimensions(Block b)
{
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF)
            return std::nullopt;
        std::uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        std::uint32_t length = BigEndian16(b, at + 2);
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (at + 9 > b.size())
                return std::nullopt;
            return Dimensions{"JPEG", BigEndian16(b, at + 7), BigEndian16(b, at + 5)};
        }
        if (length < 2)
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

std::optional<Dimensions> PictureDimensions(Block b)
{
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8) {
        auto jpeg = JpegDimensions(b);
        return jpeg ? jpeg : Dimensions{"JPEG"};
    }
    if (StartsWith(b, "\x89PNG") && b.size() >= 24)
        return Dimensions{"PNG", BigEndian32(b, 16), BigEndian32(b, 20)};
    if ((StartsWith(b, "GIF87a") || StartsWith(b, "GIF89a")) && b.size() >= 10)
        return Dimensions{"GIF", LittleEndian16(b, 6), LittleEndian16(b, 8)};
    if (StartsWith(b, "BM") && b.size() >= 26)
        return Dimensions{"BMP", LittleEndian32(b, 18), LittleEndian32(b, 22) & 0x7FFFFFFF};
    if (b.size() >= 22 && LittleEndian16(b, 0) == 0 && (LittleEndian16(b, 2) == 1 || LittleEndian16(b, 2) == 2) &&
        LittleEndian16(b, 4) > 0) {
        // The first directory entry; a size byte of 0 means 256.
        std::uint32_t width = b[6] ? b[6] : 256;
        std::uint32_t height = b[7] ? b[7] : 256;
        return Dimensions{LittleEndian16(b, 2) == 1 ? "ICO" : "CUR", width, height};
    }
    return std::nullopt;
}

std::string DescribePicture(Block b)
{
    auto picture = PictureDimensions(b);
    if (!picture)
        return "not a picture, " + DescribeSize(b.size());
    std::string text = picture->kind;
    if (picture->width && picture->height)
        text += " " + std::to_string(picture->width) + "×" + std::to_string(picture->height);
    if (std::string_view(picture->kind) == "ICO" || std::string_view(picture->kind) == "CUR")
        text += " (" + std::to_string(LittleEndian16(b, 4)) + " images)";
    return text + ", " + DescribeSize(b.size());
}

std::string DescribeWave(Block b)
{
    runtime::ByteReader reader(b.subspan(12));
    std::string chunks;
    std::optional<Block> format;
    std::uint32_t dataSize = 0;
    bool dataSeen = false;
    while (reader.Remaining() >= 8) {
        std::span<const std::uint8_t> id;
        std::uint32_t size = 0;
        Block content;
        reader.ReadBytes(4, id);
        reader.ReadU32(size);
        std::string name(reinterpret_cast<const char*>(id.data()), 4);
        chunks += (chunks.empty() ? "" : ", ") + ("\"" + name + "\"");
        if (!reader.ReadBytes(std::min<std::size_t>(size, reader.Remaining()), content))
            break;
        if (name == "fmt " && !format)
            format = content;
        if (name == "data" && !dataSeen) {
            dataSeen = true;
            dataSize = size;
        }
    }
    std::string text = "WAV";
    if (format && format->size() >= 16) {
        std::uint32_t tag = LittleEndian16(*format, 0);
        std::uint32_t channels = LittleEndian16(*format, 2);
        std::uint32_t rate = LittleEndian32(*format, 4);
        std::uint32_t bits = LittleEndian16(*format, 14);
        text += tag == 1 ? " PCM" : " format " + std::to_string(tag);
        text += " " + std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels, " + std::to_string(bits) +
                " bits";
        std::uint64_t bytesPerSecond = std::uint64_t{rate} * channels * bits / 8;
        if (dataSeen && bytesPerSecond) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.2f", static_cast<double>(dataSize) / bytesPerSecond);
            text += std::string(", ") + seconds + " s";
        }
    }
    if (dataSeen)
        text += ", data " + std::to_string(dataSize) + " bytes";
    return text + ", chunks " + chunks + ", " + DescribeSize(b.size());
}

std::string DescribeSound(Block b)
{
    if (b.size() >= 12 && StartsWith(b, "RIFF") && std::memcmp(b.data() + 8, "WAVE", 4) == 0)
        return DescribeWave(b);
    if (b.size() > 4 && StartsWith(b, "MThd"))
        return "MIDI, " + DescribeSize(b.size());
    return "not a sound, " + DescribeSize(b.size());
}

// A 60-byte LOGFONTA: height at 0, weight at 16, the face name at 28.
std::string DescribeFont(Block b)
{
    constexpr std::size_t kFontSize = 60;
    if (b.size() != kFontSize)
        return "not a font (the default font), " + DescribeSize(b.size());
    const char* face = reinterpret_cast<const char*>(b.data() + 28);
    std::string_view faceName(face, strnlen(face, kFontSize - 28));
    return "font \"" + codepage::GbkToUtf8(faceName) + "\", height " +
           std::to_string(static_cast<std::int32_t>(LittleEndian32(b, 0))) + ", weight " +
           std::to_string(static_cast<std::int32_t>(LittleEndian32(b, 16)));
}

}  // namespace

std::string DescribeSize(std::size_t size)
{
    char text[64];
    if (size < 1024)
        std::snprintf(text, sizeof text, "%zu bytes", size);
    else if (size < 1024 * 1024)
        std::snprintf(text, sizeof text, "%zu KB (%zu bytes)", (size + 512) / 1024, size);
    else
        std::snprintf(text, sizeof text, "%.1f MB (%zu bytes)", static_cast<double>(size) / (1024 * 1024), size);
    return text;
}

std::string DescribeBlock(Block block, units::BlockContent content)
{
    if (block.empty())
        return "empty";
    switch (content) {
    case units::BlockContent::Picture: return DescribePicture(block);
    case units::BlockContent::Sound: return DescribeSound(block);
    case units::BlockContent::Font: return DescribeFont(block);
    case units::BlockContent::ImageList:
        return (units::IsImageListBlob(block) ? "image list, " : "no image list, ") + DescribeSize(block.size());
    default: return DescribeSize(block.size());
    }
}

}  // namespace vellumry::listing
