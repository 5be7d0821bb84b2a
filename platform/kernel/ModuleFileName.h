#pragma once

// GetModuleFileNameA for the executable (module null): its full path as a
// runtime text, GBK with "\" separators. A buffer that is too small receives
// the truncated, terminated path; the result is then the buffer size and the
// last error ERROR_INSUFFICIENT_BUFFER, as on current Windows versions.

#include "platform/base/WinTypes.h"

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
