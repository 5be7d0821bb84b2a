#include "runtime/ValueHelpers.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "runtime/RuntimeHeap.h"

namespace vellumry::runtime {
namespace {

// Header bytes of an array block with `dimensions` dimensions.
std::int64_t HeaderSize(std::int32_t dimensions)
{
    return 4 + 4 * static_cast<std::int64_t>(dimensions);
}

// Product of the dimension sizes as a 64-bit value (negative sizes count 0).
std::int64_t ElementCount64(const void* array)
{
    if (!array)
        return 0;
    auto* bytes = static_cast<const std::uint8_t*>(array);
    std::int32_t dimensions = LoadWord(bytes);
    if (dimensions <= 0)
        return 0;
    std::int64_t count = 1;
    for (std::int32_t i = 0; i < dimensions; ++i) {
        std::int32_t size = LoadWord(bytes + 4 + 4 * i);
        if (size <= 0)
            return 0;
        count *= size;
        if (count > INT32_MAX)
            return INT64_MAX;
    }
    return count;
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
    std::int64_t count = ElementCount64(array);
    return count > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(count);
}

ArrayElementsView ArrayElements(void* array)
{
    if (!array)
        return {};
    auto* bytes = static_cast<std::uint8_t*>(array);
    std::int32_t dimensions = std::max(LoadWord(bytes), 0);
    return {ArrayElementCount(array), bytes + HeaderSize(dimensions)};
}

void MakeArrayWritable(void** array, std::int32_t elementSize)
{
    if (!array || !IsStaticData(*array))
        return;
    std::int32_t dimensions = std::max(LoadWord(*array), 0);
    std::int64_t size = HeaderSize(dimensions) + ElementCount64(*array) * std::max(elementSize, 0);
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
