#pragma once

#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {

// Hands a message to the window's object, else its class procedure, else the
// default procedure. Window thread only.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Applies a top-level window's styles to its widget's window flags.
void ApplyTopLevelStyles(WindowRecord& record);

// Sends WM_MOVE and WM_SIZE when the window's position or size differs from
// what was last reported. Qt tells a hidden widget of its new geometry only
// when it is shown; the window functions report at once, as the system does.
void ReportPlacement(HWND window);

// Installs the translation of the widget's Qt events into window messages.
void BridgeWidgetEvents(QWidget* widget);

}  // namespace vellumry::ui
