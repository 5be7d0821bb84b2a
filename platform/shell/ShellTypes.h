#pragma once

// The shell's types and constants that the folder chooser and the path
// functions use, with the values the Windows documentation gives. Plain C++.

#include "platform/base/WinTypes.h"

using USHORT = WORD;
using PCSTR = const char*;

// An item identifier list: a run of SHITEMID records ended by one whose
// size is 0. The lists this stand-in hands out hold one item, the folder's
// full path in the runtime's form (GBK, "\" separators) with its zero byte.
struct SHITEMID {
    USHORT cb;  // size of the record, the size field included
    BYTE abID[1];
};

struct ITEMIDLIST {
    SHITEMID mkid;
};

using LPITEMIDLIST = ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM parameter, LPARAM data);

struct BROWSEINFOA {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    LPSTR pszDisplayName;  // receives the chosen item's display name; MAX_PATH bytes
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};

using LPBROWSEINFOA = BROWSEINFOA*;

// Browse flags.
inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x00000001;
inline constexpr UINT BIF_EDITBOX = 0x00000010;
inline constexpr UINT BIF_NEWDIALOGSTYLE = 0x00000040;
inline constexpr UINT BIF_BROWSEINCLUDEFILES = 0x00004000;

// Messages the chooser sends to its callback.
inline constexpr UINT BFFM_INITIALIZED = 1;
inline constexpr UINT BFFM_SELCHANGED = 2;

// Messages the callback sends to the chooser window (WM_USER + n).
inline constexpr UINT BFFM_SETSTATUSTEXTA = 0x0400 + 100;
inline constexpr UINT BFFM_ENABLEOK = 0x0400 + 101;
inline constexpr UINT BFFM_SETSELECTIONA = 0x0400 + 102;

