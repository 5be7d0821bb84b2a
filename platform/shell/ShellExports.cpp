#include "platform/shell/ShellExports.h"

#include "platform/modules/ModuleRegistry.h"
#include "platform/shell/DirectoryPath.h"
#include "platform/shell/FolderChooser.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/PathFunctions.h"

namespace vellumry::shell {

void RegisterShellExports()
{
    using modules::Export;
    modules::RegisterBuiltinExports("shell32", {
                                                   Export("SHBrowseForFolderA", &SHBrowseForFolderA),
                                                   Export("SHGetPathFromIDListA", &SHGetPathFromIDListA),
                                                   Export("ILFree", &ILFree),
                                               });
    modules::RegisterBuiltinExports("shlwapi", {
                                                   Export("PathFindFileNameA", &PathFindFileNameA),
                                                   Export("PathFindExtensionA", &PathFindExtensionA),
                                                   Export("PathIsDirectoryA", &PathIsDirectoryA),
                                               });
    modules::RegisterBuiltinExports("dbghelp", {
                                                   Export("MakeSureDirectoryPathExists", &MakeSureDirectoryPathExists),
                                               });
}

}  // namespace vellumry::shell
