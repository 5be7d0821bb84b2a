#pragma once

// Per-thread last-error code, as GetLastError / SetLastError document it.

#include "platform/base/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD code);
