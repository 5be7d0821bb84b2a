#pragma once

// SHBrowseForFolderA of shell32, as the Windows documentation describes it
// for the cases this program reaches:
// - The chooser is a window of its own (class "SHBrowseForFolder", owned by
//   hwndOwner). Right after it exists the callback, when given, receives
//   BFFM_INITIALIZED with the chooser window and lParam; the callback may
//   send BFFM_SETSELECTIONA to that window (SendMessageA) with wParam TRUE
//   and a runtime path, or FALSE and an item list, to preselect a folder.
//   BFFM_SETSTATUSTEXTA and BFFM_ENABLEOK are accepted and change nothing.
// - The question then goes to the answerer: the title (lpszTitle), the
//   preselected folder, whether files may be chosen (BIF_BROWSEINCLUDEFILES).
//   By default the answerer is the folder dialog of platform/ui; tests and
//   batch runs install their own so that no person is needed.
// - A chosen folder gives a new item list (free it with ILFree) and, when
//   pszDisplayName is given, its display name (the last part of the path,
//   cut to MAX_PATH - 1 bytes at a character's start). A cancelled chooser
//   gives null.
//
// Window thread (the chooser is a window); a call from another thread runs
// the chooser window's creation and messages on the window thread as every
// window call does.

#include <functional>
#include <optional>
#include <string>

#include "platform/shell/ShellTypes.h"

PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info);

namespace vellumry::shell {

struct FolderQuestion {
    HWND owner = nullptr;
    HWND chooser = nullptr;      // the chooser window, alive while the question is asked
    std::string title;           // UTF-8
    std::string initialFolder;   // host path (UTF-8, "/"), empty when none was preselected
    bool includeFiles = false;
};

// Answers with the chosen host path, or none for a cancelled chooser.
using FolderAnswerer = std::function<std::optional<std::string>(const FolderQuestion&)>;

// Installs the answerer; an empty one restores the folder dialog.
void SetFolderAnswerer(FolderAnswerer answerer);

}  // namespace vellumry::shell
