#pragma once

// The program's one code-page module. Every text inside the runtime is a GBK
// (code page 936) byte string; these conversions are used only at the edges:
// display, file-system paths, BSTRs and the regular-expression engine.
//
// Conversions never fail: a byte sequence that is not valid in the source
// encoding becomes U+FFFD in Unicode targets and '?' in GBK targets, the way
// the Windows conversion functions substitute their default characters.
// Pure-ASCII input takes a copy-only fast path. Safe to call from any thread.

#include <cstddef>
#include <string>
#include <string_view>

namespace vellumry::codepage {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Converts into `out`, which must have room for gbk.size() units: every
// character of the code page takes at least one byte and becomes one UTF-16
// unit, as does every byte that is substituted. Returns the units written.
size_t GbkToUtf16(std::string_view gbk, char16_t* out);

// Strict checks, for callers that must refuse rather than substitute.
bool IsValidGbk(std::string_view gbk);
bool IsEncodableAsGbk(std::u16string_view utf16);

}  // namespace vellumry::codepage
