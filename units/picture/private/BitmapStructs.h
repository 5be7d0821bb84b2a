#pragma once

// The device-independent bitmap structures of BMP and ICO/CUR files, and the
// header the 8-bit picture layouts start with.

#include <cstdint>

namespace vellumry::units {

#pragma pack(push, 1)

struct BitmapFileHeader {
    std::uint16_t type;  // "BM"
    std::uint32_t size;
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint32_t pixelOffset;
};
static_assert(sizeof(BitmapFileHeader) == 14);

// The OS/2 1.x header.
struct BitmapCoreHeader {
    std::uint32_t size;
    std::uint16_t width;
    std::uint16_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
};
static_assert(sizeof(BitmapCoreHeader) == 12);

// BITMAPINFOHEADER; the later headers (52, 56, 108 and 124 bytes) begin with
// it and continue with the colour masks.
struct BitmapInfoHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t imageSize;
    std::int32_t xPixelsPerMetre;
    std::int32_t yPixelsPerMetre;
    std::uint32_t coloursUsed;
    std::uint32_t coloursImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct BitmapColourMasks {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
    std::uint32_t alpha;
};
static_assert(sizeof(BitmapColourMasks) == 16);

struct RgbQuad {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t reserved;
};
static_assert(sizeof(RgbQuad) == 4);

struct IconDirectory {
    std::uint16_t reserved;
    std::uint16_t type;  // 1 icon, 2 cursor
    std::uint16_t count;
};
static_assert(sizeof(IconDirectory) == 6);

struct IconDirectoryEntry {
    std::uint8_t width;       // 0 means 256
    std::uint8_t height;
    std::uint8_t colourCount;  // 0 for 256 colours or more
    std::uint8_t reserved;
    std::uint16_t planes;      // cursor: hot spot x
    std::uint16_t bitCount;    // cursor: hot spot y
    std::uint32_t bytesInResource;
    std::uint32_t imageOffset;
};
static_assert(sizeof(IconDirectoryEntry) == 16);

#pragma pack(pop)

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;

}  // namespace vellumry::units
