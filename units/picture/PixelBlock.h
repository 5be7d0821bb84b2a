#pragma once

// Memory for pixel blocks. A large block gets a mapping of its own, aligned
// to and sized in whole 2 MiB pages and advised for huge pages before its
// first write: filling a 2 MiB picture in ordinary 4 KiB pages takes some
// five hundred page faults, each a trap into the kernel that costs more than
// the decoding of the page it fills, and with huge pages it takes one. Where
// the system offers no huge pages the advice is ignored and the block works
// as any other. Small blocks come from the heap. Qt-free; any thread.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace vellumry::units {

// Blocks from this size on get a mapping of their own (the last huge page of
// such a block is at least half used).
inline constexpr std::size_t kMappedPixelBytes = std::size_t{1} << 20;

// `bytes` of pixel memory, not cleared; throws std::bad_alloc when there is
// none. Free it with FreePixelMemory and the same size.
void* AllocatePixelMemory(std::size_t bytes);
void FreePixelMemory(void* data, std::size_t bytes) noexcept;

// A standard allocator over the memory above. Elements made without a value
// are left uninitialised (resize writes nothing): a decoder that writes
// every pixel does not pay for clearing a large block first, which would
// touch all of its memory twice. Elements made with a value get it.
template <typename T>
struct PixelAllocator {
    using value_type = T;

    PixelAllocator() noexcept = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocatePixelMemory(count * sizeof(T)));
    }
    void deallocate(T* data, std::size_t count) noexcept { FreePixelMemory(data, count * sizeof(T)); }

    template <typename U>
    void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }

    template <typename U>
    bool operator==(const PixelAllocator<U>&) const noexcept
    {
        return true;
    }
};

using PixelBlock = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;

}  // namespace vellumry::units
