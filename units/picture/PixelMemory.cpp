#include "units/picture/private/PixelMemory.h"

#include <sys/mman.h>

namespace vellumry::units {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

}  // namespace

void AdviseHugePages(void* data, std::size_t bytes)
{
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (data == nullptr || end <= first)
        return;
    // Advice only: a system without transparent huge pages refuses it, and
    // the block then works as any other.
    (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

void SizePixels(std::vector<std::uint8_t>& pixels, std::size_t bytes, std::uint8_t fill)
{
    pixels.reserve(bytes);
    AdviseHugePages(pixels.data(), bytes);
    pixels.assign(bytes, fill);
}

}  // namespace vellumry::units
