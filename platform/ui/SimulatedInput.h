#pragma once

// Input as a person gives it, for programs that drive their own window
// without one (the batch mode): a left click in the middle of a window and
// text typed into an edit window. The events go through the application's
// event handling like real ones (pre-translation, the widgets' own key and
// mouse handling), so the window reacts exactly as to a person. Window
// thread only; a handler run by the click may destroy the window.

#include <string_view>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

// Presses and releases the left button in the middle of the window. False,
// with nothing sent, when the window is gone, hidden or disabled: a person
// could not click it either.
bool ClickWindow(HWND window);

// Gives the window (or the editor inside it) the focus, selects everything
// in it with Ctrl+A and types `utf8` one character at a time, replacing what
// was there. False when the window is gone, hidden or disabled, or has no
// part that takes the focus.
bool TypeIntoWindow(HWND window, std::string_view utf8);

}  // namespace vellumry::ui
