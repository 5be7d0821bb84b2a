#pragma once

// What the window functions share: the live-record prologue, placement,
// styles, texts and message delivery. Window thread only, except where a
// function says otherwise.

#include <QRect>
#include <QWidget>

#include <string>

#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/private/WindowTable.h"

namespace vellumry::ui {

// The record of a live window; null, with ERROR_INVALID_WINDOW_HANDLE as the
// last error, for a handle that names no live window.
WindowRecord* LiveRecord(HWND window);
QWidget* LiveWidget(HWND window);

// The prologue of the window functions: runs `work` with the window's live
// record on the window thread and returns its answer; `failure` (with
// ERROR_INVALID_WINDOW_HANDLE set) when the window is not alive. Any thread.
template <typename Result, typename Work>
Result WithLiveWindow(HWND window, Result failure, Work&& work)
{
    return RunOnWindowThread([&]() -> Result {
        WindowRecord* record = LiveRecord(window);
        return record ? static_cast<Result>(work(*record)) : failure;
    });
}

// Hands a message to the window's object, else its class procedure, else the
// default procedure.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Applies a top-level window's styles to its widget's window flags.
void ApplyTopLevelStyles(WindowRecord& record);
// Enables or disables the widget by WS_DISABLED.
void ApplyEnabledState(WindowRecord& record);
// Sends a child window WM_SHOWWINDOW when its own visibility changed: the
// message user32's ShowWindow sends (a parent's showing sends it nothing).
void NotifyChildVisibility(HWND window, const QWidget* widget, bool wasShown, bool shown);

// Moves and/or sizes a window: a top-level window by its outer frame, a child
// by its rectangle in the parent's client area. Reports the new placement
// unless told not to.
void PlaceWindow(WindowRecord& record, int x, int y, int width, int height, bool move, bool size,
                 bool report = true);

// The window text (GBK), kept with the widget.
std::string WindowText(const WindowRecord& record);
void StoreWindowText(WindowRecord& record, const std::string& gbk);

// Sends WM_MOVE and WM_SIZE when the window's position or size differs from
// what was last reported. Qt tells a hidden widget of its new geometry only
// when it is shown; the window functions report at once, as the system does.
void ReportPlacement(HWND window);

// Installs the translation of the widget's Qt events into window messages.
void BridgeWidgetEvents(QWidget* widget);

// A top-level window made while drawing where nobody sees is skipped
// (SkipUnseenDrawing) draws nothing.
void ApplyUnseenDrawing(QWidget& widget);

}  // namespace vellumry::ui
