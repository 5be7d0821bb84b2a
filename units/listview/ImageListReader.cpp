#include "units/listview/ImageListReader.h"

#include "runtime/ByteReader.h"
#include "units/listview/ImageListBlob.h"
#include "units/picture/DecodedPicture.h"

namespace vellumry::units {
namespace {

constexpr std::uint16_t kStreamMagic = 0x4C49;  // "IL"
constexpr std::uint16_t kStreamVersion = 0x0101;
constexpr std::uint16_t kMaskFlag = 0x0001;
constexpr std::size_t kFileHeaderSize = 14;

struct StreamHead {
    std::uint16_t count = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint32_t background = 0;
    std::uint16_t flags = 0;
};

bool ReadU16(runtime::ByteReader& reader, std::uint16_t& value)
{
    std::int16_t raw = 0;
    if (!reader.ReadI16(raw))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

std::optional<StreamHead> ReadHead(runtime::ByteReader& reader)
{
    StreamHead head;
    std::uint16_t magic = 0, version = 0, capacity = 0, grow = 0;
    if (!ReadU16(reader, magic) || magic != kStreamMagic || !ReadU16(reader, version) || version != kStreamVersion)
        return std::nullopt;
    if (!ReadU16(reader, head.count) || !ReadU16(reader, capacity) || !ReadU16(reader, grow) ||
        !ReadU16(reader, head.width) || !ReadU16(reader, head.height) || !reader.ReadU32(head.background) ||
        !ReadU16(reader, head.flags) || !reader.Skip(4 * 2))
        return std::nullopt;
    if (head.width == 0 || head.height == 0)
        return std::nullopt;
    return head;
}

// The next BMP file of the stream, its length taken from its file header
// and checked against the bytes left.
std::optional<DecodedPicture> ReadBitmap(runtime::ByteReader& reader)
{
    std::span<const std::uint8_t> fileHeader;
    if (!reader.ReadBytes(kFileHeaderSize, fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return std::nullopt;
    std::uint32_t fileSize = static_cast<std::uint32_t>(fileHeader[2]) | static_cast<std::uint32_t>(fileHeader[3]) << 8 |
                             static_cast<std::uint32_t>(fileHeader[4]) << 16 |
                             static_cast<std::uint32_t>(fileHeader[5]) << 24;
    if (fileSize < kFileHeaderSize || !reader.Skip(fileSize - kFileHeaderSize))
        return std::nullopt;
    std::span<const std::uint8_t> file(fileHeader.data(), fileSize);
    auto picture = DecodePicture(file);
    if (!picture || picture->kind != PictureKind::Bmp)
        return std::nullopt;
    return picture;
}

// Blue, green, red of pixel (x, y) of a decoded BMP (rows bottom-up, packed).
const std::uint8_t* PixelAt(const DecodedPicture& picture, std::uint32_t x, std::uint32_t y)
{
    std::size_t row = picture.height - 1 - y;
    return picture.pixels.data() + (row * picture.width + x) * 3;
}

}  // namespace

std::optional<ImageList> ReadImageList(std::span<const std::uint8_t> blob)
{
    runtime::ByteReader reader(ImageListStream(blob));
    if (reader.AtEnd())
        return std::nullopt;
    auto head = ReadHead(reader);
    if (!head)
        return std::nullopt;
    auto bitmap = ReadBitmap(reader);
    if (!bitmap)
        return std::nullopt;
    std::optional<DecodedPicture> mask;
    if (head->flags & kMaskFlag) {
        mask = ReadBitmap(reader);
        if (!mask || mask->width != bitmap->width || mask->height != bitmap->height)
            return std::nullopt;
    }
    const std::uint32_t columns = bitmap->width / head->width;
    const std::uint32_t rows = bitmap->height / head->height;
    if (std::uint64_t{columns} * rows < head->count)
        return std::nullopt;

    ImageList list;
    list.width = head->width;
    list.height = head->height;
    list.background = head->background;
    list.images.reserve(head->count);
    for (std::uint32_t index = 0; index < head->count; ++index) {
        const std::uint32_t left = index % columns * head->width;
        const std::uint32_t top = index / columns * head->height;
        std::vector<std::uint8_t> image(std::size_t{head->width} * head->height * 4);
        std::uint8_t* out = image.data();
        for (std::uint32_t y = 0; y < head->height; ++y) {
            for (std::uint32_t x = 0; x < head->width; ++x, out += 4) {
                const std::uint8_t* in = PixelAt(*bitmap, left + x, top + y);
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                bool seeThrough = false;
                if (mask) {
                    const std::uint8_t* m = PixelAt(*mask, left + x, top + y);
                    seeThrough = m[0] == 0xFF && m[1] == 0xFF && m[2] == 0xFF;
                }
                out[3] = seeThrough ? 0 : 0xFF;
            }
        }
        list.images.push_back(std::move(image));
    }
    return list;
}

}  // namespace vellumry::units
