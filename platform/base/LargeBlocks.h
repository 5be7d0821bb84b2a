#pragma once

// Memory for large blocks that are written in full soon after they are made
// (pixels of pictures and of window snapshots). A large block gets a mapping
// of its own, aligned to and sized in whole 2 MiB pages and advised for huge
// pages before its first write: filling 2 MiB in ordinary 4 KiB pages takes
// some five hundred page faults, each a trap into the kernel that costs more
// than the work on the page it fills, and with huge pages it takes one. Where
// the system offers no huge pages the advice is ignored and the block works
// as any other. Smaller blocks come from the heap. Any thread.

#include <cstddef>

namespace vellumry::base {

// Blocks from this size on get a mapping of their own (the last huge page of
// such a block is at least half used).
inline constexpr std::size_t kMappedBlockBytes = std::size_t{1} << 20;

// `bytes` of memory, not cleared; throws std::bad_alloc when there is none.
// Free it with FreeLargeBlock and the same size.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* data, std::size_t bytes) noexcept;

}  // namespace vellumry::base
