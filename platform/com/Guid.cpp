#include "platform/com/Guid.h"

#include "platform/com/ClassRegistry.h"

namespace vellumry::com {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendHex(std::u16string& out, std::uint64_t value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 0xF];
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at `at`; false on any other character.
bool ReadHex(std::u16string_view text, std::size_t at, int digits, std::uint64_t* value)
{
    *value = 0;
    for (int i = 0; i < digits; ++i) {
        int digit = HexValue(text[at + static_cast<std::size_t>(i)]);
        if (digit < 0)
            return false;
        *value = (*value << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace

std::u16string GuidText(const GUID& guid)
{
    std::u16string out = u"{";
    AppendHex(out, guid.Data1, 8);
    out += u'-';
    AppendHex(out, guid.Data2, 4);
    out += u'-';
    AppendHex(out, guid.Data3, 4);
    out += u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            out += u'-';
        AppendHex(out, guid.Data4[i], 2);
    }
    out += u'}';
    return out;
}

std::optional<GUID> ParseGuid(std::u16string_view text)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' || text[14] != u'-' ||
        text[19] != u'-' || text[24] != u'-')
        return std::nullopt;
    GUID guid{};
    std::uint64_t value = 0;
    if (!ReadHex(text, 1, 8, &value))
        return std::nullopt;
    guid.Data1 = static_cast<std::uint32_t>(value);
    if (!ReadHex(text, 10, 4, &value))
        return std::nullopt;
    guid.Data2 = static_cast<std::uint16_t>(value);
    if (!ReadHex(text, 15, 4, &value))
        return std::nullopt;
    guid.Data3 = static_cast<std::uint16_t>(value);
    static constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, kByteAt[i], 2, &value))
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

}  // namespace vellumry::com

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int max)
{
    std::u16string text = vellumry::com::GuidText(guid);
    int needed = static_cast<int>(text.size()) + 1;
    if (buffer == nullptr || max < needed)
        return 0;
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return needed;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid)
{
    if (text == nullptr || clsid == nullptr)
        return E_INVALIDARG;
    std::u16string_view view(text);
    if (!view.empty() && view.front() == u'{') {
        auto guid = vellumry::com::ParseGuid(view);
        if (!guid)
            return CO_E_CLASSSTRING;
        *clsid = *guid;
        return S_OK;
    }
    // Like the documented function, a program identifier is accepted too.
    return SUCCEEDED(CLSIDFromProgID(text, clsid)) ? S_OK : CO_E_CLASSSTRING;
}
