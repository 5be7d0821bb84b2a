#pragma once

// Pixel blocks of decoded pictures, in memory for large blocks (huge pages
// where the system has them). Qt-free; any thread.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/base/LargeBlocks.h"

namespace vellumry::units {

// A standard allocator over memory for large blocks. Elements made without
// a value are left uninitialised (resize writes nothing): a decoder that
// writes every pixel does not pay for clearing a large block first, which would
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
        return static_cast<T*>(base::AllocateLargeBlock(count * sizeof(T)));
    }
    void deallocate(T* data, std::size_t count) noexcept { base::FreeLargeBlock(data, count * sizeof(T)); }

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
