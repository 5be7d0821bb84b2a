#pragma once

// The identifiers of the "VBScript.RegExp" component's type library, class and
// interfaces (version 5.5).

#include "platform/com/ComTypes.h"

namespace vellumry::vbscript {

inline constexpr GUID kRegExpLibraryId = {0x3F4DACA7, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidRegExp = {0x3F4DACB0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidMatch = {0x3F4DACB1, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidMatchCollection = {0x3F4DACB2, 0x160D, 0x11D2,
                                            {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidSubMatches = {0x3F4DACB3, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

// Errors the component raises, in the VBScript numbering (facility 0x0A).
inline constexpr HRESULT kInvalidCallError = MakeHresult(0x800A0005);
inline constexpr HRESULT kOutOfMemoryError = MakeHresult(0x800A0007);
inline constexpr HRESULT kMatchLimitError = MakeHresult(0x800A001C);
inline constexpr HRESULT kSyntaxError = MakeHresult(0x800A1399);

}  // namespace vellumry::vbscript
