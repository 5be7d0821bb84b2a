#pragma once

// Item identifier lists for folders, and SHGetPathFromIDListA / ILFree of
// shell32 as the Windows documentation describes them.
//
// A list this stand-in makes holds one item: the folder's runtime path (GBK,
// "\" separators). Only lists made here are read: every list handed out is
// remembered until ILFree, so a null, freed or foreign pointer is refused
// rather than read.
// - SHGetPathFromIDListA writes the path with its zero byte into a buffer of
//   at least MAX_PATH bytes and answers TRUE; for a list it does not know, or
//   a path of MAX_PATH bytes or more, it answers FALSE and leaves the buffer
//   as it was.
// - ILFree frees a list made here; null and unknown pointers are ignored. A
//   list never freed is freed when the process ends.
//
// Any thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/shell/ShellTypes.h"

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);
void ILFree(PIDLIST_ABSOLUTE list);

namespace vellumry::shell {

// A new list for a folder's runtime path; the caller frees it with ILFree.
// Null for a path too long for one item.
PIDLIST_ABSOLUTE MakeFolderIdList(std::string_view runtimePath);

// The runtime path a list made here holds; none for any other pointer.
std::optional<std::string> FolderOfIdList(PCIDLIST_ABSOLUTE list);

// How many lists are handed out and not yet freed.
std::size_t LiveIdListCount();

}  // namespace vellumry::shell
