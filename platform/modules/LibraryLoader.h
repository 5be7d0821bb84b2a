#pragma once

// LoadLibraryA, GetProcAddress and FreeLibrary, as the Windows loader documents
// them for the cases this program reaches:
// - A bare name (no "\", "/" or ":") is first matched against the built-in
//   modules (letter case ignored, ".dll" optional), then searched as a file in
//   the program's folder and in the current directory, with ".dll" appended
//   when the name has no extension and does not end in ".".
// - A name with a path is loaded from that file only (runtime paths use "\";
//   a drive prefix such as "C:" is dropped), through dlopen.
// - Every successful load takes a reference; FreeLibrary drops one and, for a
//   real file, unloads it with the last reference.
// - GetProcAddress accepts an export name or an ordinal (a "name" pointer whose
//   value fits in 16 bits). Real shared objects have no ordinals.
// Failures return null or FALSE and set the last error (ERROR_MOD_NOT_FOUND,
// ERROR_PROC_NOT_FOUND, ERROR_INVALID_HANDLE). Thread-safe.

#include "platform/base/WinTypes.h"

HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// MAKEINTRESOURCE-style ordinal argument for GetProcAddress.
inline LPCSTR OrdinalName(WORD ordinal)
{
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(ordinal));
}
