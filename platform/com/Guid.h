#pragma once

// Identifiers of the standard interfaces, and class identifiers in their
// registry form "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" as CLSIDFromString and
// StringFromGUID2 document them: hexadecimal digits of either case, braces
// required, the groups in the order Data1, Data2, Data3, then the eight bytes
// of Data4 as two and six.

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/ComTypes.h"

inline constexpr IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IRecordInfo = {0x0000002F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IRunnableObject = {0x00000126, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ITypeInfo = {0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ITypeLib = {0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ITypeComp = {0x00020403, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Writes the registry form with its terminator; returns the characters
// written including the terminator (39), or 0 when `max` is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int max);

// S_OK, CO_E_CLASSSTRING for a text that is not a class identifier in
// registry form nor a registered program identifier, E_INVALIDARG for null.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);

namespace vellumry::com {

// The registry form of a GUID, and its reading (exactly 38 characters).
std::u16string GuidText(const GUID& guid);
std::optional<GUID> ParseGuid(std::u16string_view text);

}  // namespace vellumry::com
