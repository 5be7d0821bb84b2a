#include "platform/com/Bstr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);
// The byte length must fit the prefix, and prefix plus terminator the block.
constexpr std::uint64_t kMaxBytes = 0x7FFFFFF0;

std::uint32_t StoredBytes(BSTR text)
{
    std::uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const char*>(text) - kPrefix, sizeof bytes);
    return bytes;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    std::uint64_t bytes = static_cast<std::uint64_t>(length) * sizeof(OLECHAR);
    if (bytes > kMaxBytes)
        return nullptr;
    // The prefix sits on its own 8 bytes so the characters stay aligned.
    char* block = static_cast<char*>(std::malloc(static_cast<std::size_t>(bytes) + 8 + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    BSTR result = reinterpret_cast<BSTR>(block + 8);
    std::uint32_t stored = static_cast<std::uint32_t>(bytes);
    std::memcpy(block + 8 - kPrefix, &stored, sizeof stored);
    if (text)
        std::memcpy(result, text, static_cast<std::size_t>(bytes));
    else
        std::memset(result, 0, static_cast<std::size_t>(bytes));
    result[length] = u'\0';
    return result;
}

INT SysReAllocStringLen(BSTR* text, const OLECHAR* source, UINT length)
{
    if (!text)
        return FALSE;
    BSTR old = *text;
    UINT oldLength = SysStringLen(old);
    std::uint64_t bytes = static_cast<std::uint64_t>(length) * sizeof(OLECHAR);
    if (bytes > kMaxBytes)
        return FALSE;
    bool fromItself = old && source == old;
    if (source && !fromItself) {
        // A source elsewhere, possibly inside the old text: copy first.
        BSTR copy = SysAllocStringLen(source, length);
        if (!copy)
            return FALSE;
        SysFreeString(old);
        *text = copy;
        return TRUE;
    }
    char* block = old ? reinterpret_cast<char*>(old) - 8 : nullptr;
    char* resized = static_cast<char*>(std::realloc(block, static_cast<std::size_t>(bytes) + 8 + sizeof(OLECHAR)));
    if (!resized)
        return FALSE;
    BSTR result = reinterpret_cast<BSTR>(resized + 8);
    if (length > oldLength)
        std::memset(result + oldLength, 0, (length - oldLength) * sizeof(OLECHAR));
    std::uint32_t stored = static_cast<std::uint32_t>(bytes);
    std::memcpy(resized + 8 - kPrefix, &stored, sizeof stored);
    result[length] = u'\0';
    *text = result;
    return TRUE;
}

BSTR SysAllocString(const OLECHAR* text)
{
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(std::u16string_view(text).size()));
}

void SysFreeString(BSTR text)
{
    if (text)
        std::free(reinterpret_cast<char*>(text) - 8);
}

UINT SysStringByteLen(BSTR text)
{
    return text ? StoredBytes(text) : 0;
}

UINT SysStringLen(BSTR text)
{
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

namespace vellumry::com {

BSTR AllocBstr(std::u16string_view text)
{
    if (text.size() > UINT32_MAX)
        return nullptr;
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace vellumry::com
