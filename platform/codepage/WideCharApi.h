#pragma once

// MultiByteToWideChar / WideCharToMultiByte for the code pages this program
// uses: CP_ACP (which is 936 here), 936 and CP_UTF8. They follow the documented
// buffer rules: a source length of -1 means zero-terminated and the count then
// includes the terminator; a destination size of 0 asks for the size needed; a
// destination that is too small fails with ERROR_INSUFFICIENT_BUFFER.

#include "platform/base/WinTypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_GBK = 936;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR target,
                        int targetChars);

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars, LPSTR target,
                        int targetBytes, LPCSTR defaultChar, BOOL* usedDefaultChar);
