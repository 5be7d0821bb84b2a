#pragma once

// Pixel blocks of large pictures are asked to be backed by huge pages before
// their first write. A 4000 × 3000 picture otherwise takes some twelve
// thousand page faults on its first write, each a trap into the kernel that
// costs more than the decoding of the page it fills; with 2 MiB pages the
// same block takes two dozen. Where the system offers no huge pages the
// advice is ignored and nothing changes. Qt-free; any thread.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumry::units {

// Advises the whole huge pages inside [data, data + bytes). Call it before
// the block is first written: pages already in place stay as they are.
void AdviseHugePages(void* data, std::size_t bytes);

// Sizes an empty pixel block to `bytes`, each set to `fill`, advising its
// memory before the fill writes it.
void SizePixels(std::vector<std::uint8_t>& pixels, std::size_t bytes, std::uint8_t fill = 0);

}  // namespace vellumry::units
