#pragma once

// MakeSureDirectoryPathExists of dbghelp, as the Windows documentation
// describes it: creates every folder of a runtime path (GBK, "\" separators)
// from the root on that does not exist yet. Only names followed by a "\" are
// folders: the part after the last "\" is taken for a file name and not
// created, so "D:\pics\2024\" creates pics and 2024, "D:\pics\a.jpg" only
// pics. Folders that exist already are fine. TRUE on success; FALSE with the
// last error when a folder cannot be made (a file in the way, no permission)
// or the path is null or empty.
//
// Any thread.

#include "platform/base/WinTypes.h"

BOOL MakeSureDirectoryPathExists(LPCSTR dirPath);
