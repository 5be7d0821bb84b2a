#pragma once

// Makes the shell stand-ins reachable by name: SHBrowseForFolderA,
// SHGetPathFromIDListA and ILFree in the built-in module "shell32",
// PathFindFileNameA, PathFindExtensionA and PathIsDirectoryA in "shlwapi",
// MakeSureDirectoryPathExists in "dbghelp". Called once at start-up, before
// any DLL command is resolved; calling it again changes nothing.

namespace vellumry::shell {

void RegisterShellExports();

}  // namespace vellumry::shell
