#include "app/HeapSetup.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace vellumry::app {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::uintptr_t kHugePage = 2 * kMiB;
// What the heap is grown by at once and advised for huge pages: more than a
// start window takes from it.
constexpr std::size_t kAdvisedHeap = 24 * kMiB;
// Blocks up to this size come from the heap instead of a mapping of their
// own; a window's backing store (1.7 MB for the start window) is one of them.
constexpr std::size_t kHeapBlockLimit = 4 * kMiB;

}  // namespace

void PrepareHeapForWindows()
{
    // A heap top that is given back to the system is not advised any more
    // when it grows again: keep it. The download worker also frees a response
    // body and a file's bytes for every picture; handing that memory back to
    // the kernel each time (a trim, with a flush of every processor's address
    // cache) cost more than the transfer.
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kAdvisedHeap));
    // One block of the whole size from the heap (not a mapping), advised,
    // and given back: the heap top now spans it, and every block later
    // carved from it lies in memory advised for huge pages.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kAdvisedHeap));
    if (void* block = std::malloc(kAdvisedHeap)) {
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (start + kAdvisedHeap) & ~(kHugePage - 1);
        // Advice only: without transparent huge pages nothing changes.
        if (end > first)
            (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
        std::free(block);
    }
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeapBlockLimit));
}

}  // namespace vellumry::app
