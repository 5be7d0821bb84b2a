#pragma once

// The memory shapes of texts, byte-sets and arrays in the runtime heap.
//
// TextValue: a zero-terminated GBK byte string; null is the empty text.
// ByteSet:   int32 1 (dimension count), int32 length, then the bytes; null is
//            the empty byte-set and a byte-set of length 0 is never allocated.
// ArrayBlock: int32 dimension count d, d int32 sizes, then the elements in row
//            order. Elements that are texts, byte-sets or objects are
//            pointer-sized (8 bytes in this build) and owned by the array.
//            Because the header is a run of 32-bit words, elements may sit on
//            4-byte boundaries only: read and write them with LoadElement /
//            StoreElement, never through a typed pointer.

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace vellumry::runtime {

using TextValue = char*;
using ByteSet = std::uint8_t*;
using ArrayBlock = void*;

inline constexpr std::int32_t kPointerElementSize = static_cast<std::int32_t>(sizeof(void*));

inline std::int32_t LoadWord(const void* at)
{
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void StoreWord(void* at, std::int32_t value)
{
    std::memcpy(at, &value, sizeof value);
}

template <typename T>
T LoadElement(const void* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void StoreElement(void* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

// Byte-set access. Both accept null (the empty byte-set).
inline std::int32_t ByteSetSize(const void* byteSet)
{
    return byteSet ? LoadWord(static_cast<const std::uint8_t*>(byteSet) + 4) : 0;
}

inline std::span<const std::uint8_t> ByteSetBytes(const void* byteSet)
{
    if (!byteSet)
        return {};
    auto size = ByteSetSize(byteSet);
    return {static_cast<const std::uint8_t*>(byteSet) + 8, static_cast<std::size_t>(size < 0 ? 0 : size)};
}

inline std::string_view TextView(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

}  // namespace vellumry::runtime
