#pragma once

// Cursor and icon handles beyond the plain user32 calls: made from file data
// (.cur / .ico bytes) and bound to windows. Handles made here are destroyed
// with DestroyCursor / DestroyIcon; standard cursors are shared and survive
// destruction requests. Window thread only. Qt-free.

#include <cstdint>
#include <span>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

// A cursor from the bytes of a .cur (or .ico) file; null when they do not
// hold one.
HCURSOR CreateCursorFromFileData(std::span<const std::uint8_t> bytes);

// An icon of about `size` pixels from the bytes of an .ico file; null when
// they do not hold one.
HICON CreateIconFromFileData(std::span<const std::uint8_t> bytes, int size);

// The cursor a window shows while the mouse is over it (null: the default).
void SetWindowCursor(HWND window, HCURSOR cursor);

}  // namespace vellumry::ui
