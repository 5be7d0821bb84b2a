#pragma once

#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {

// Hands a message to the window's object, else its class procedure, else the
// default procedure. Window thread only.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Applies a top-level window's styles to its widget's window flags.
void ApplyTopLevelStyles(WindowRecord& record);

// Installs the translation of the widget's Qt events into window messages.
void BridgeWidgetEvents(QWidget* widget);

}  // namespace vellumry::ui
