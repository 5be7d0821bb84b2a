#include "platform/codepage/WideCharApi.h"

#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/LastError.h"
#include "platform/codepage/CodePage.h"

namespace {

using namespace vellumry::codepage;

bool IsSupported(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_GBK || codePage == CP_UTF8;
}

// Copies `count` units into the caller's buffer after the documented checks;
// returns the count, or 0 with the last error set.
template <typename Unit>
int Deliver(const Unit* data, size_t count, Unit* target, int targetSize)
{
    if (count > static_cast<size_t>(INT32_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (targetSize == 0)
        return static_cast<int>(count);
    if (static_cast<size_t>(targetSize) < count) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, data, count * sizeof(Unit));
    return static_cast<int>(count);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR target,
                        int targetChars)
{
    if (!IsSupported(codePage) || source == nullptr || sourceBytes == 0 || sourceBytes < -1 || targetChars < 0 ||
        (targetChars > 0 && target == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceBytes);
    std::string_view in(source, length);
    bool utf8 = codePage == CP_UTF8;
    if ((flags & MB_ERR_INVALID_CHARS) != 0 && !utf8 && !IsValidGbk(in)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    std::u16string wide = utf8 ? Utf8ToUtf16(in) : GbkToUtf16(in);
    if ((flags & MB_ERR_INVALID_CHARS) != 0 && utf8 && Utf16ToUtf8(wide) != in) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return Deliver(wide.data(), wide.size(), target, targetChars);
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR source, int sourceChars, LPSTR target,
                        int targetBytes, LPCSTR defaultChar, BOOL* usedDefaultChar)
{
    if (!IsSupported(codePage) || source == nullptr || sourceChars == 0 || sourceChars < -1 || targetBytes < 0 ||
        (targetBytes > 0 && target == nullptr) ||
        (codePage == CP_UTF8 && (defaultChar != nullptr || usedDefaultChar != nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = sourceChars == -1 ? std::char_traits<char16_t>::length(source) + 1
                                      : static_cast<size_t>(sourceChars);
    std::u16string_view in(source, length);
    std::string bytes;
    if (codePage == CP_UTF8) {
        bytes = Utf16ToUtf8(in);
    } else {
        bool clean = IsEncodableAsGbk(in);
        if (usedDefaultChar)
            *usedDefaultChar = clean ? FALSE : TRUE;
        if (clean || defaultChar == nullptr || *defaultChar == '?') {
            bytes = Utf16ToGbk(in);
        } else {
            // Convert character by character so that only the unmappable ones
            // take the caller's default character.
            for (size_t i = 0; i < in.size(); ++i) {
                size_t units = (in[i] >= 0xD800 && in[i] < 0xDC00 && i + 1 < in.size()) ? 2 : 1;
                std::u16string_view one = in.substr(i, units);
                bytes += IsEncodableAsGbk(one) ? Utf16ToGbk(one) : std::string(1, *defaultChar);
                i += units - 1;
            }
        }
    }
    return Deliver(bytes.data(), bytes.size(), target, targetBytes);
}
