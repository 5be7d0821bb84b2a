// LHashValOfNameSys and the letter-case rule of member names.

#include "platform/com/TypeDescription.h"
#include "platform/com/TypeInfo.h"
#include "platform/com/private/NameFolding.h"

namespace vellumry::com {

char16_t FoldNameChar(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7)  // Latin-1 capitals
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0xFF21 && c <= 0xFF3A)  // full-width capitals
        return static_cast<char16_t>(c + 0x20);
    return c;
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldNameChar(a[i]) != FoldNameChar(b[i]))
            return false;
    return true;
}

WORD NameHash(std::u16string_view name)
{
    // FNV-1a over the folded characters, folded to 16 bits.
    std::uint32_t hash = 2166136261u;
    for (char16_t c : name) {
        char16_t folded = FoldNameChar(c);
        hash = (hash ^ (folded & 0xFF)) * 16777619u;
        hash = (hash ^ (folded >> 8)) * 16777619u;
    }
    return static_cast<WORD>(hash ^ (hash >> 16));
}

}  // namespace vellumry::com

ULONG LHashValOfNameSys(SYSKIND system, LCID lcid, const OLECHAR* name)
{
    if (name == nullptr)
        return 0;
    ULONG context = ((static_cast<ULONG>(system) & 0xF) << 4) | (lcid & 0xF);
    return (context << 16) | vellumry::com::NameHash(name);
}
