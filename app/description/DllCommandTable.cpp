#include "app/description/DllCommandTable.h"

namespace vellumry::app {

const char* const kDllLibraryNames[kDllCommandCount] = {
    "",             "ole32.dll",   "ole32.dll",   "shlwapi.dll", "shlwapi.dll",
    "kernel32",     "Kernel32.dll", "",           "",            "user32",
    "shlwapi.dll",  "dbghelp.dll", "wininet.dll", "wininet.dll", "wininet.dll",
    "wininet.dll",  "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
};

const char* const kDllExportNames[kDllCommandCount] = {
    "CreateThread",      "CoInitialize",         "CoUninitialize",
    "PathFindFileNameA", "PathFindExtensionA",   "GetExitCodeThread",
    "TerminateThread",   "SHBrowseForFolderA",   "SHGetPathFromIDListA",
    "SendMessageA",      "PathIsDirectoryA",     "MakeSureDirectoryPathExists",
    "InternetOpenA",     "InternetCloseHandle",  "InternetConnectA",
    "HttpOpenRequestA",  "HttpSendRequestA",     "HttpSendRequestA",
    "InternetReadFile",  "HttpQueryInfoA",
};

}  // namespace vellumry::app
