#pragma once

// GetUserDefaultLCID and GetSystemDefaultLCID as documented: the locale
// identifier of the user's and of the system's settings. This program runs in
// one locale, Chinese (PRC), whose ANSI code page is 936.

#include "platform/base/WinTypes.h"

inline constexpr DWORD kChinesePrcLocale = 0x0804;

DWORD GetUserDefaultLCID();
DWORD GetSystemDefaultLCID();
