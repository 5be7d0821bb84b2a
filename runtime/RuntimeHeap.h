#pragma once

// The runtime heap: every text, byte-set and array value lives here. Sizes are
// signed 32-bit byte counts, as values carry them.
//
// RuntimeAlloc and RuntimeRealloc never return null: a failure is reported as
// the fatal runtime error "分配 %d 字节内存失败!" and ends the program. A size
// below 0 or above kMaxBlockSize fails that way too; the cap keeps the 32-bit
// program's limits on a 64-bit machine, where such requests would otherwise
// succeed and exhaust memory slowly.
//
// Pointers into the static data block (the application's constants) are never
// freed or resized in place. Safe to call from any thread.

#include <cstddef>
#include <cstdint>

namespace vellumry::runtime {

inline constexpr std::int32_t kMaxBlockSize = 0x40000000;

void* RuntimeAlloc(std::int32_t size);
void* RawAlloc(std::int32_t size);
void* RuntimeRealloc(void* block, std::int32_t size);
void RuntimeFree(void* block);

// Reports the allocation failure for `size`; used by value helpers whose
// computed size does not even fit the 32-bit count.
[[noreturn]] void ReportAllocationFailure(std::int64_t size);

// The static data block range, set at start-up and cleared at shutdown.
void SetStaticDataBlock(const void* start, std::size_t size);
void ClearStaticDataBlock();
bool IsStaticData(const void* pointer);
// Bytes from `pointer` to the end of the static block (0 when outside it).
std::size_t StaticBytesFrom(const void* pointer);

// Test seam: when set, an allocation for which the injector answers true
// fails as if the heap were exhausted.
using AllocationFailureInjector = bool (*)(std::int32_t size);
void SetAllocationFailureInjector(AllocationFailureInjector injector);

}  // namespace vellumry::runtime
