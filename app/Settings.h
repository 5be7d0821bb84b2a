#pragma once

// The settings file: the contents of a window's edit boxes kept between runs
// in section "编辑框" of an INI file, one key per edit box named after the
// unit. A value keeps to one line: every CR LF is stored as "><br><" and
// turned back on reading.
//
// The edit boxes are found by enumerating the window's units of the edit-box
// type, so every edit box of the form takes part. Loading runs on the window
// thread (window event 0), saving on the parse worker; neither takes a lock.

#include <cstdint>

#include "app/CoreCommands.h"

namespace vellumry::app {

// Sets each edit box whose key holds a non-empty value; answers the number
// of edit boxes found. An empty `settingsFile` becomes DefaultSettingsPath,
// and the variable receives that path.
std::int32_t LoadEditBoxes(std::uint32_t formId, std::uint32_t windowId, OwnedText& settingsFile);

// Writes one key per edit box whose name is not in `exclusionList` (unit
// names separated by "|"; null or empty: none excluded); answers the number
// of edit boxes found. File defaulting as LoadEditBoxes.
std::int32_t SaveEditBoxes(std::uint32_t formId, std::uint32_t windowId, OwnedText& settingsFile,
                           const char* exclusionList = nullptr);

// True when `unitName` is not among the names of `exclusionList`.
bool SelectedNameFilter(const char* exclusionList, const char* unitName);

// Program folder + "\data\setsoft.ini"; the "\data" folder is made first
// when it is missing.
OwnedText DefaultSettingsPath();

// Program folder + "\用户配置.ini", the file the program keeps its settings in.
OwnedText ProgramSettingsPath();

// True when PathIsDirectoryA answers the directory attribute for `path`.
bool IsFolder(const char* path);

// Makes every missing folder of `folder` (a "\" is appended when it does not
// end with one); the result of MakeSureDirectoryPathExists.
bool EnsureFolderExists(const char* folder);

// The stored form of a value and back: CR LF <-> "><br><".
OwnedText ToStoredValue(const char* content);
OwnedText FromStoredValue(const char* stored);

}  // namespace vellumry::app
