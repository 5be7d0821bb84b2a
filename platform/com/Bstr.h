#pragma once

// BSTR as documented: a pointer to UTF-16 characters preceded by a 4-byte
// length in bytes and followed by a zero character. A null BSTR is the empty
// string. SysAllocStringLen copies `length` characters (a null source leaves
// them zero) and fails with null when the byte length would not fit its
// 32-bit prefix.
//
// UniqueBstr owns one BSTR and frees it with SysFreeString.

#include <memory>
#include <string_view>

#include "platform/com/ComTypes.h"

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// Gives *text the new length, keeping its characters when `source` is *text
// itself, else copying `length` characters from `source` (null: leaves them
// as they are up to the old length, zero beyond). TRUE on success; on failure
// *text is unchanged.
INT SysReAllocStringLen(BSTR* text, const OLECHAR* source, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

namespace vellumry::com {

struct BstrDeleter {
    void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrDeleter>;

// A new BSTR holding `text`; null only when the allocation fails.
BSTR AllocBstr(std::u16string_view text);

// The characters of a BSTR (the empty view for null).
inline std::u16string_view BstrView(const OLECHAR* text)
{
    return text ? std::u16string_view(text, SysStringLen(const_cast<BSTR>(text))) : std::u16string_view();
}

}  // namespace vellumry::com
