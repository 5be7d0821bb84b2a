#pragma once

// The application's DLL command table: per command index, the library file
// name (empty: a system library, searched in the runtime's order) and the
// export name. The names are stored exactly as declared and handed unchanged
// to the library loader, so "kernel32" and "Kernel32.dll" stand side by side.

#include <cstdint>

namespace vellumry::app {

enum DllCommand : std::int32_t {
    kCreateThread,
    kCoInitialize,
    kCoUninitialize,
    kPathFindFileNameA,
    kPathFindExtensionA,
    kGetExitCodeThread,
    kTerminateThread,
    kSHBrowseForFolderA,
    kSHGetPathFromIDListA,
    kSendMessageA,
    kPathIsDirectoryA,
    kMakeSureDirectoryPathExists,
    kInternetOpenA,
    kInternetCloseHandle,
    kInternetConnectA,
    kHttpOpenRequestA,
    kHttpSendRequestText,   // HttpSendRequestA declared with the optional data as a text
    kHttpSendRequestBytes,  // HttpSendRequestA declared with the optional data as a byte-set
    kInternetReadFile,
    kHttpQueryInfoA,
    kDllCommandCount
};

extern const char* const kDllLibraryNames[kDllCommandCount];
extern const char* const kDllExportNames[kDllCommandCount];

}  // namespace vellumry::app
