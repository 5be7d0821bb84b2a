#pragma once

// The shlwapi path functions the program calls, as the Windows documentation
// describes them, over runtime paths (GBK, "\" separators). The scans step
// over GBK characters whole, so a trail byte 0x5C (the code of "\") inside a
// two-byte character is never taken for a separator.
//
// - PathFindFileNameA: the address of the file-name part of the path: the
//   text after the last "\", "/" or ":" that is followed by more than another
//   separator, so "C:\dir\" gives "dir\"; the path itself when it has none.
//   A null path gives null.
// - PathFindExtensionA: the address of the "." that starts the extension of
//   the last part, or of the terminating zero when there is none; a space or
//   a "\" after the dot ends the candidate. A null path gives null.
// - PathIsDirectoryA: FILE_ATTRIBUTE_DIRECTORY (16) when the path names an
//   existing folder, FALSE otherwise.
//
// Any thread.

#include "platform/base/WinTypes.h"

LPSTR PathFindFileNameA(LPCSTR path);
LPSTR PathFindExtensionA(LPCSTR path);
BOOL PathIsDirectoryA(LPCSTR path);

namespace vellumry::shell {

// The length of the GBK character at `text` (1 or 2; 1 at a lead byte that
// the terminating zero follows).
inline int GbkCharLength(const char* text)
{
    auto lead = static_cast<unsigned char>(text[0]);
    return lead >= 0x81 && lead <= 0xFE && text[1] != '\0' ? 2 : 1;
}

}  // namespace vellumry::shell
