#pragma once

// For units, which draw their windows with their own Qt widgets: gives such a
// widget a window handle, so that the rest of the program manages it through
// the user32 functions like any other window. Window thread only.
//
// The headers in platform/ui/qt are the Qt face of the window stand-ins. Only
// the widget half of units/ (and platform/ui itself) may include them: link
// vellumry_platform_ui_qt, which brings Qt Widgets. Everything else reaches
// windows through the plain headers of platform/ui.

#include <QWidget>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

// Registers `widget` as a window of class `className` (the class's procedure,
// when registered, receives the window's messages unless an object is
// attached). A child style (WS_CHILD) expects the widget already parented.
// DestroyWindow deletes the widget later.
HWND AttachWidgetWindow(QWidget* widget, const char* className, DWORD style, DWORD exStyle, HWND owner,
                        int controlId);

QWidget* WidgetOf(HWND window);
// The handle of the widget or of its nearest ancestor that has one.
HWND WindowOf(const QWidget* widget);

// Screen rectangle of the outer frame of a top-level window with these
// styles whose client area is `client`; the frame sizes are fixed nominal
// metrics, the same on every platform, so layouts do not depend on the
// window manager.
RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle);
RECT ClientWithin(const RECT& frame, DWORD style, DWORD exStyle);

}  // namespace vellumry::ui
