#pragma once

// FindFirstFileA, FindNextFileA and FindClose as documented: the last path
// component is a pattern with "*" and "?" matched without letter case ("*.*"
// matches every name); "." and ".." are reported for every folder but the
// root; names come back as GBK. Attributes are derived from the file system:
// FILE_ATTRIBUTE_DIRECTORY for folders, FILE_ATTRIBUTE_ARCHIVE for other
// entries, FILE_ATTRIBUTE_READONLY without write permission for the owner and
// FILE_ATTRIBUTE_HIDDEN for dot-names. Entries come in name order.
// A handle may be used by one thread at a time; the handle table is locked.

#include "platform/base/WinTypes.h"

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};

HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* findData);
BOOL FindClose(HANDLE search);

namespace vellumry::kernel {

// Windows wildcard matching of a GBK name against a GBK pattern.
bool MatchesWildcard(const char* pattern, const char* name);

}  // namespace vellumry::kernel
