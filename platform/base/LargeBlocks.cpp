#include "platform/base/LargeBlocks.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

#include "platform/base/Guarded.h"

namespace vellumry::base {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t WholeHugePages(std::size_t bytes)
{
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// Mappings given back are kept for the next block of their size (in whole
// huge pages), as the heap keeps freed blocks: a picture decoded again, or
// the next one of the same size, then reuses pages already in place instead
// of having the system clear fresh ones. Like the heap's, the reuse stops at 32 MiB:
// larger blocks are rare, and keeping one would hold much memory.
constexpr std::size_t kLargestKeptMapping = std::size_t{32} << 20;

struct KeptMapping {
    void* data = nullptr;
    std::size_t size = 0;  // whole huge pages
};

// Two: a decoded picture and the image prepared from it are the usual pair.
using KeptMappings = std::array<KeptMapping, 2>;

base::Guarded<KeptMappings>& Kept()
{
    static base::Guarded<KeptMappings> kept;
    return kept;
}

// A kept mapping of exactly `size` bytes, or null.
void* TakeKeptMapping(std::size_t size)
{
    return Kept().With([&](KeptMappings& kept) -> void* {
        for (KeptMapping& mapping : kept)
            if (mapping.data != nullptr && mapping.size == size)
                return std::exchange(mapping, KeptMapping{}).data;
        return nullptr;
    });
}

// Keeps a mapping of `size` bytes for reuse in place of the one kept
// longest, and gives that one (or a mapping too large to keep) back to the
// system.
void KeepOrUnmap(void* data, std::size_t size)
{
    KeptMapping release{data, size};
    if (size <= kLargestKeptMapping)
        Kept().With([&](KeptMappings& kept) {
            release = kept.front();
            std::move(kept.begin() + 1, kept.end(), kept.begin());
            kept.back() = KeptMapping{data, size};
        });
    if (release.data != nullptr) {
        // The marks stay with the addresses, which the system may hand out
        // again to another mapping.
        ASAN_UNPOISON_MEMORY_REGION(release.data, release.size);
        munmap(release.data, release.size);
    }
}

void* MapHugePages(std::size_t bytes)
{
    // One huge page more than needed, so that an aligned start lies inside;
    // the unaligned head and the tail beyond the block are given back.
    const std::size_t size = WholeHugePages(bytes);
    if (size < bytes || size > std::numeric_limits<std::size_t>::max() - kHugePage)
        throw std::bad_alloc();
    if (void* kept = TakeKeptMapping(size))
        return kept;
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const std::size_t tail = start + size + kHugePage - (aligned + size); tail > 0)
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    // Advice only: a system without transparent huge pages refuses it.
    (void)madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

// A mapped block's bytes past its size, and a whole kept mapping, are marked
// unaddressable for AddressSanitizer (the marks do nothing in other builds),
// so that reads past a picture's end and uses after its release are caught
// as they are for heap blocks.
void* HandOut(void* mapping, std::size_t bytes)
{
    ASAN_UNPOISON_MEMORY_REGION(mapping, bytes);
    ASAN_POISON_MEMORY_REGION(static_cast<char*>(mapping) + bytes, WholeHugePages(bytes) - bytes);
    return mapping;
}

}  // namespace

void* AllocateLargeBlock(std::size_t bytes)
{
    if (bytes >= kMappedBlockBytes)
        return HandOut(MapHugePages(bytes), bytes);
    void* data = std::malloc(bytes == 0 ? 1 : bytes);
    if (data == nullptr)
        throw std::bad_alloc();
    return data;
}

void FreeLargeBlock(void* data, std::size_t bytes) noexcept
{
    if (data == nullptr)
        return;
    if (bytes >= kMappedBlockBytes) {
        ASAN_POISON_MEMORY_REGION(data, WholeHugePages(bytes));
        KeepOrUnmap(data, WholeHugePages(bytes));
    }
    else
        std::free(data);
}

}  // namespace vellumry::base
