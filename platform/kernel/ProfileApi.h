#pragma once

// GetPrivateProfileStringA and WritePrivateProfileStringA, as documented, for
// the cases this program reaches (a section and a key to read; a key to
// write, a key or a whole section to remove). The file format and the
// matching rules are those of ProfileDocument.h; the file keeps GBK bytes as
// they are, and a rewritten file has CR LF line ends.
//
// GetPrivateProfileStringA(section, key, default, buffer, size, file)
// - copies the value, or the default (null meaning "") without its trailing
//   blanks when the file, the section or the key is missing; the last error is
//   then ERROR_FILE_NOT_FOUND;
// - copies at most size - 1 bytes and a terminating zero, and returns the
//   number of bytes copied (size - 1 when the text was cut); size 0 copies
//   nothing and returns 0;
// - the listing forms (null section or null key) are not offered: they copy
//   the empty text, return 0 and set ERROR_INVALID_PARAMETER.
//
// WritePrivateProfileStringA(section, key, value, file)
// - a value sets "key=value", creating the file and the section on first use
//   (the folder must exist); a null value removes the key; a null key removes
//   the section with all its lines; removing what is not there succeeds
//   without touching the file;
// - returns FALSE with the last error when the file cannot be read or written
//   (a null section or file name: ERROR_INVALID_PARAMETER); the file is
//   replaced whole (FileReplacement.h), never left half written.
//
// Files larger than kMaxProfileFileSize are refused with ERROR_FILE_TOO_LARGE.
// Relative names are taken from the current folder (the program folder) rather
// than the Windows folder. One process-wide lock orders all profile calls, so
// concurrent writers do not lose each other's keys.

#include <cstdint>

#include "platform/base/WinTypes.h"

inline constexpr std::uint32_t kMaxProfileFileSize = 16u << 20;

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returnedString, DWORD size,
                               LPCSTR fileName);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
