#pragma once

// Reading fixed on-disk structures from outside bytes. A structure is a
// packed struct of little-endian fields whose size is checked where it is
// declared; ReadDiskStruct copies one out only when all its bytes are there.

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <type_traits>

namespace vellumry::units {

static_assert(std::endian::native == std::endian::little, "the picture structures are read in place as little-endian");

template <typename T>
std::optional<T> ReadDiskStruct(std::span<const std::uint8_t> bytes, std::uint64_t offset)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (offset > bytes.size() || sizeof(T) > bytes.size() - offset)
        return std::nullopt;
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// The `count` bytes at `offset`, or an empty optional when they run past
// the end.
inline std::optional<std::span<const std::uint8_t>> ByteRange(std::span<const std::uint8_t> bytes,
                                                               std::uint64_t offset, std::uint64_t count)
{
    if (offset > bytes.size() || count > bytes.size() - offset)
        return std::nullopt;
    return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

}  // namespace vellumry::units
