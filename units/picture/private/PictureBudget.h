#pragma once

// Size checks for the buffers a decoder makes from outside bytes. Every size
// read from a picture is turned into a byte count here, in 64-bit arithmetic
// that cannot overflow for the values a picture can hold, and compared with
// the limits before anything is allocated: at most kMaxPictureSide pixels on
// either side, and at most kMaxPictureBytes for all buffers of one picture
// together.

#include <cstdint>
#include <optional>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

#ifdef VELLUMRY_PICTURE_BUDGET_MIB
// Fuzz builds take a smaller budget so that each run stays quick; every path,
// the refusals at the limit included, is the same.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{VELLUMRY_PICTURE_BUDGET_MIB} << 20;
#else
inline constexpr std::uint64_t kMaxPictureBytes = 256ull << 20;
#endif

inline bool SidesAllowed(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// Bytes of one row of `width` pixels of `bitsPerPixel`, padded to a multiple
// of `alignBytes`. Width at most 2^32 and bits per pixel at most 64 keep the
// product far below 2^64.
inline std::uint64_t PaddedRowBytes(std::uint64_t width, std::uint32_t bitsPerPixel, std::uint32_t alignBytes)
{
    std::uint64_t bits = width * bitsPerPixel;
    std::uint64_t alignBits = std::uint64_t{alignBytes} * 8;
    return (bits + alignBits - 1) / alignBits * alignBytes;
}

// Counts what one picture's decoder allocates. Reserve answers false, and
// reserves nothing, when the request would take the total past the limit.
class PictureBudget {
public:
    bool Reserve(std::uint64_t bytes)
    {
        if (bytes > kMaxPictureBytes - m_used)
            return false;
        m_used += bytes;
        return true;
    }

    // rows × bytesPerRow, each factor at most 2^32 (callers pass sides that
    // passed SidesAllowed or row sizes from PaddedRowBytes of such sides).
    bool ReserveRows(std::uint64_t rows, std::uint64_t bytesPerRow)
    {
        if (rows != 0 && bytesPerRow > kMaxPictureBytes / rows)
            return false;
        return Reserve(rows * bytesPerRow);
    }

    std::uint64_t Used() const { return m_used; }
    std::uint64_t Left() const { return kMaxPictureBytes - m_used; }

private:
    std::uint64_t m_used = 0;
};

}  // namespace vellumry::units
