#include "units/picture/private/BgrRows.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELLUMRY_HAVE_X86_SHUFFLE 1
#endif

namespace vellumry::units {

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

}  // namespace

void BgrToOpaqueRowPortable(const std::uint8_t* source, std::uint32_t* target, std::size_t width)
{
    std::size_t x = 0;
    // Four pixels from three little-endian words: blue, green, red in the
    // low bytes is the order 0xAARRGGBB already has.
    for (; x + 4 <= width; x += 4, source += 12) {
        std::uint32_t a, b, c;
        std::memcpy(&a, source, 4);
        std::memcpy(&b, source + 4, 4);
        std::memcpy(&c, source + 8, 4);
        target[x] = a | kOpaque;
        target[x + 1] = (a >> 24) | (b << 8) | kOpaque;
        target[x + 2] = (b >> 16) | (c << 16) | kOpaque;
        target[x + 3] = (c >> 8) | kOpaque;
    }
    for (; x < width; ++x, source += 3)
        target[x] = kOpaque | (std::uint32_t{source[2]} << 16) | (std::uint32_t{source[1]} << 8) | source[0];
}

#ifdef VELLUMRY_HAVE_X86_SHUFFLE

__attribute__((target("ssse3"))) void BgrToOpaqueRowSsse3(const std::uint8_t* source, std::uint32_t* target,
                                                          std::size_t width)
{
    // Bytes 0..11 of a load are four triples; each gets a fourth byte, set
    // to 0xFF by the OR (a shuffle index with the high bit set gives 0).
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
    std::size_t x = 0;
    // A load takes 16 bytes for the 12 it uses: keep it inside the row.
    for (; x + 6 <= width; x += 4) {
        __m128i triples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * x));
        __m128i pixels = _mm_or_si128(_mm_shuffle_epi8(triples, spread), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + x), pixels);
    }
    BgrToOpaqueRowPortable(source + 3 * x, target + x, width - x);
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

#else

void BgrToOpaqueRowSsse3(const std::uint8_t* source, std::uint32_t* target, std::size_t width)
{
    BgrToOpaqueRowPortable(source, target, width);
}

bool HasSsse3()
{
    return false;
}

#endif

void BgrToOpaqueRow(const std::uint8_t* source, std::uint32_t* target, std::size_t width)
{
    if (HasSsse3())
        BgrToOpaqueRowSsse3(source, target, width);
    else
        BgrToOpaqueRowPortable(source, target, width);
}

}  // namespace vellumry::units
