#include "runtime/ValueHelpers.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeHeap.h"

namespace vellumry::runtime {
namespace {

// Header bytes of an array block with `dimensions` dimensions.
std::int64_t HeaderSize(std::int32_t dimensions)
{
    return 4 + 4 * static_cast<std::int64_t>(dimensions);
}

// The element count of an array block after checking its header. A header
// is well formed when its dimension count lies in 0 .. kMaxArrayDimensions,
// no size is negative and the product fits a 32-bit count. Anything else is
// data the program cannot have made: it is refused with runtime error 10,
// whose message is the rule for dimension sizes, never capped and walked.
std::int32_t CheckedElementCount(const void* array)
{
    if (!array)
        return 0;
    auto* bytes = static_cast<const std::uint8_t*>(array);
    std::int32_t dimensions = LoadWord(bytes);
    if (dimensions < 0 || dimensions > kMaxArrayDimensions)
        ReportErrorCode(kMalformedArrayError, 0, 0);
    if (dimensions == 0)
        return 0;
    std::int64_t count = 1;
    for (std::int32_t i = 0; i < dimensions; ++i) {
        std::int32_t size = LoadWord(bytes + 4 + 4 * static_cast<std::size_t>(i));
        if (size < 0)
            ReportErrorCode(kMalformedArrayError, 0, 0);
        count *= size;  // at most INT32_MAX * INT32_MAX: no overflow in 64 bits
        if (count > INT32_MAX)
            ReportErrorCode(kMalformedArrayError, 0, 0);
    }
    return static_cast<std::int32_t>(count);
}

}  // namespace

TextValue ConcatTexts(std::span<const char* const> pieces)
{
    // Measure first, allocate once.
    constexpr size_t kInline = 16;
    std::int32_t inlineLengths[kInline];
    std::vector<std::int32_t> spilled(pieces.size() > kInline ? pieces.size() : 0);
    std::int32_t* lengths = pieces.size() > kInline ? spilled.data() : inlineLengths;
    std::int64_t total = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        lengths[i] = TextLength(pieces[i]);
        total += lengths[i];
    }
    if (total + 1 > INT32_MAX)
        ReportAllocationFailure(total + 1);
    auto* result = static_cast<char*>(RuntimeAlloc(static_cast<std::int32_t>(total + 1)));
    char* out = result;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (lengths[i] > 0)
            std::memcpy(out, pieces[i], static_cast<size_t>(lengths[i]));
        out += lengths[i];
    }
    *out = '\0';
    return result;
}

ByteSet ConcatByteSets(std::span<const void* const> pieces)
{
    std::int64_t total = 0;
    for (const void* piece : pieces)
        total += static_cast<std::int64_t>(ByteSetBytes(piece).size());
    if (total == 0)
        return nullptr;
    if (total + 8 > INT32_MAX)
        ReportAllocationFailure(total + 8);
    auto* result = static_cast<std::uint8_t*>(RuntimeAlloc(static_cast<std::int32_t>(total + 8)));
    StoreWord(result, 1);
    StoreWord(result + 4, static_cast<std::int32_t>(total));
    std::uint8_t* out = result + 8;
    for (const void* piece : pieces) {
        auto bytes = ByteSetBytes(piece);
        if (!bytes.empty())
            std::memcpy(out, bytes.data(), bytes.size());
        out += bytes.size();
    }
    return result;
}

std::int32_t ArrayElementCount(const void* array)
{
    return CheckedElementCount(array);
}

ArrayElementsView ArrayElements(void* array)
{
    if (!array)
        return {};
    std::int32_t count = CheckedElementCount(array);
    auto* bytes = static_cast<std::uint8_t*>(array);
    return {count, bytes + HeaderSize(LoadWord(bytes))};
}

void MakeArrayWritable(void** array, std::int32_t elementSize)
{
    if (!array || !IsStaticData(*array))
        return;
    std::int32_t count = CheckedElementCount(*array);
    // Both factors are 32-bit: the product fits 64 bits.
    std::int64_t size = HeaderSize(LoadWord(*array)) + std::int64_t{count} * std::max(elementSize, 0);
    if (size > INT32_MAX)
        ReportAllocationFailure(size);
    void* copy = RuntimeAlloc(static_cast<std::int32_t>(size));
    std::memcpy(copy, *array, std::min(static_cast<std::size_t>(size), StaticBytesFrom(*array)));
    *array = copy;
}

int CompareTexts(const char* a, const char* b)
{
    int result = std::strcmp(a ? a : "", b ? b : "");
    return (result > 0) - (result < 0);
}

TextValue MakeText(std::string_view bytes)
{
    if (bytes.size() + 1 > static_cast<size_t>(INT32_MAX))
        ReportAllocationFailure(static_cast<std::int64_t>(bytes.size()) + 1);
    auto* text = static_cast<char*>(RuntimeAlloc(static_cast<std::int32_t>(bytes.size() + 1)));
    if (!bytes.empty())
        std::memcpy(text, bytes.data(), bytes.size());
    text[bytes.size()] = '\0';
    return text;
}

TextValue MakeTextOrNull(std::string_view bytes)
{
    return bytes.empty() ? nullptr : MakeText(bytes);
}

ByteSet MakeByteSet(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return nullptr;
    if (bytes.size() + 8 > static_cast<size_t>(INT32_MAX))
        ReportAllocationFailure(static_cast<std::int64_t>(bytes.size()) + 8);
    auto* result = static_cast<std::uint8_t*>(RuntimeAlloc(static_cast<std::int32_t>(bytes.size() + 8)));
    StoreWord(result, 1);
    StoreWord(result + 4, static_cast<std::int32_t>(bytes.size()));
    std::memcpy(result + 8, bytes.data(), bytes.size());
    return result;
}

ArrayBlock MakeArray(std::int32_t count, std::int32_t elementSize)
{
    count = std::max(count, 0);
    std::int64_t size = 8 + static_cast<std::int64_t>(count) * std::max(elementSize, 0);
    if (size > INT32_MAX)
        ReportAllocationFailure(size);
    auto* block = static_cast<std::uint8_t*>(RuntimeAlloc(static_cast<std::int32_t>(size)));
    std::memset(block, 0, static_cast<size_t>(size));
    StoreWord(block, 1);
    StoreWord(block + 4, count);
    return block;
}

void FreePointerArray(ArrayBlock array)
{
    if (!array || IsStaticData(array))
        return;
    ArrayElementsView elements = ArrayElements(array);
    auto* at = static_cast<std::uint8_t*>(elements.first);
    for (std::int32_t i = 0; i < elements.count; ++i)
        RuntimeFree(LoadElement<void*>(at + static_cast<std::size_t>(i) * sizeof(void*)));
    RuntimeFree(array);
}

}  // namespace vellumry::runtime
