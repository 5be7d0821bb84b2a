#pragma once

// The folder dialog behind the shell's folder chooser: a modal QFileDialog
// that asks for a folder (or a file or folder), with a caption, a starting
// folder and an owner window. Where nobody can answer it (no application
// object, or the offscreen and minimal platforms of batch runs and tests)
// it is not shown and counts as cancelled. Plain C++; any thread (the dialog
// itself runs on the window thread).

#include <optional>
#include <string>

#include "platform/base/WinTypes.h"

namespace vellumry::ui {

// `title` and the paths are UTF-8; the answer is a host path, none when
// cancelled.
std::optional<std::string> AskForFolderWithDialog(HWND owner, const std::string& title,
                                                  const std::string& initialFolder, bool includeFiles);

}  // namespace vellumry::ui
