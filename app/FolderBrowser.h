#pragma once

// The folder chooser as the folder button uses it: BrowseForFolder fills a
// BROWSEINFOA (no root, no display-name buffer), preselects the initial
// folder through BrowseCallback, asks SHBrowseForFolderA and turns the chosen
// item list into a path with SHGetPathFromIDListA, all through the program's
// DLL commands 7, 8 and 9. A cancelled chooser gives the empty text.
//
// Window thread. The initial folder is handed to the callback through the
// global browseInitialFolder, which BrowseForFolder rewrites on every call.

#include <cstdint>
#include <optional>

#include "app/CoreCommands.h"
#include "platform/base/WinTypes.h"

namespace vellumry::app {

struct BrowseOptions {
    const char* title = nullptr;          // null or left out: "请选择一个文件夹"
    bool includeFiles = false;            // BIF_BROWSEINCLUDEFILES
    const char* initialFolder = nullptr;  // null: none
    bool editBox = false;                 // BIF_EDITBOX
    bool newDialogStyle = true;           // BIF_NEWDIALOGSTYLE
    std::int32_t owner = 0;               // owner window handle
};

OwnedText BrowseForFolder(const BrowseOptions& options);

// The chooser's callback: on BFFM_INITIALIZED (1) it selects
// browseInitialFolder with BFFM_SETSELECTIONA (0x466); always answers 1.
int BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

}  // namespace vellumry::app
