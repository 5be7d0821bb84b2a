#pragma once

// Value operations used inline by the application and by commands. Every
// result is newly allocated in the runtime heap and owned by the caller.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string_view>

#include "runtime/Values.h"

namespace vellumry::runtime {

// Bytes before the terminating zero; 0 for null. The C library's strlen
// already scans aligned machine words (wider ones, with vector instructions).
inline std::int32_t TextLength(const char* text)
{
    return text ? static_cast<std::int32_t>(std::strlen(text)) : 0;
}

// One new text with the pieces in order (null pieces count as empty). Always
// allocated, at least the terminating zero.
TextValue ConcatTexts(std::span<const char* const> pieces);
inline TextValue ConcatTexts(std::initializer_list<const char*> pieces)
{
    return ConcatTexts(std::span<const char* const>(pieces.begin(), pieces.size()));
}

// One new byte-set with all pieces' bytes; null when the total is 0.
ByteSet ConcatByteSets(std::span<const void* const> pieces);
inline ByteSet ConcatByteSets(std::initializer_list<const void*> pieces)
{
    return ConcatByteSets(std::span<const void* const>(pieces.begin(), pieces.size()));
}

struct ArrayElementsView {
    std::int32_t count = 0;
    void* first = nullptr;  // the first element, or null for a null array
};

// Arrays with more dimensions than this are malformed.
inline constexpr std::int32_t kMaxArrayDimensions = 32;
// The runtime error a malformed array header is reported with: "“重定义数组”
// 命令的数组维定义参数值必须大于零或单维时大于等于零", the rule the header breaks.
inline constexpr std::int32_t kMalformedArrayError = 10;

// Product of the dimension sizes: 0 for null or a dimension count of 0. An
// array whose header is malformed (a dimension count below 0 or above
// kMaxArrayDimensions, a size below 0, a product beyond 32 bits) is runtime
// error kMalformedArrayError; so it is for every function below that takes
// an array.
std::int32_t ArrayElementCount(const void* array);
ArrayElementsView ArrayElements(void* array);

// Replaces an array that points into the static data block by a heap copy of
// the whole block; does nothing to any other array.
void MakeArrayWritable(void** array, std::int32_t elementSize);

// Byte-wise unsigned comparison giving -1, 0 or 1; null equals the empty text.
int CompareTexts(const char* a, const char* b);

// Convenience constructors for the shapes above, used by commands and tests.
TextValue MakeText(std::string_view bytes);                // always allocated
TextValue MakeTextOrNull(std::string_view bytes);          // null when empty
ByteSet MakeByteSet(std::span<const std::uint8_t> bytes);  // null when empty
// A one-dimensional array of `count` elements of `elementSize` bytes, zeroed.
ArrayBlock MakeArray(std::int32_t count, std::int32_t elementSize);
// Frees a one-or-more-dimensional array of texts or byte-sets and its elements.
void FreePointerArray(ArrayBlock array);

}  // namespace vellumry::runtime
