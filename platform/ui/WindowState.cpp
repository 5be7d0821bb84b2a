// A window's state and the focus: ShowWindow, IsWindowVisible, EnableWindow,
// IsWindowEnabled, IsIconic, IsZoomed, SetFocus, GetFocus, GetActiveWindow,
// SetForegroundWindow and BringWindowToTop, as user32 documents them for the
// cases the runtime and its units reach: ShowWindow answers whether the
// window was visible before, EnableWindow whether it was disabled before.
// Calls from other threads run on the window thread.

#include <QApplication>
#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowInternals.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {

void ApplyEnabledState(WindowRecord& record)
{
    record.widget->setEnabled(!(record.style & WS_DISABLED));
}

void NotifyChildVisibility(HWND window, const QWidget* widget, bool wasShown, bool shown)
{
    // A top-level window hears of it through its widget's show and hide.
    if (!widget->isWindow() && wasShown != shown)
        DeliverMessage(window, WM_SHOWWINDOW, shown ? TRUE : FALSE, 0);
}

}  // namespace vellumry::ui

using namespace vellumry::ui;

BOOL ShowWindow(HWND window, int command)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        QWidget* widget = record.widget;
        BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
        bool wasShown = (record.style & WS_VISIBLE) != 0;
        bool noActivate = command == SW_SHOWNA || command == SW_SHOWNOACTIVATE;
        widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
        switch (command) {
        case SW_HIDE:
            widget->hide();
            record.style &= ~WS_VISIBLE;
            NotifyChildVisibility(record.handle, widget, wasShown, false);
            return wasVisible;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
            widget->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            widget->showMaximized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            if (widget->isWindow())
                widget->showNormal();
            else
                widget->show();
            break;
        default:
            // A top-level window created minimised or maximised shows so.
            if (widget->isWindow() && (record.style & WS_MINIMIZE))
                widget->showMinimized();
            else if (widget->isWindow() && (record.style & WS_MAXIMIZE))
                widget->showMaximized();
            else
                widget->show();
            break;
        }
        record.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        record.style |= WS_VISIBLE;
        NotifyChildVisibility(record.handle, widget, wasShown, true);
        return wasVisible;
    });
}

BOOL IsWindowVisible(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) { return record.widget->isVisible(); });
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        BOOL wasDisabled = (record.style & WS_DISABLED) ? TRUE : FALSE;
        if (enable)
            record.style &= ~WS_DISABLED;
        else
            record.style |= WS_DISABLED;
        ApplyEnabledState(record);
        return wasDisabled;
    });
}

BOOL IsWindowEnabled(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) { return !(record.style & WS_DISABLED); });
}

BOOL IsIconic(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) { return record.widget->isMinimized(); });
}

BOOL IsZoomed(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) { return record.widget->isMaximized(); });
}

HWND SetFocus(HWND window)
{
    return RunOnWindowThread([&]() -> HWND {
        HWND previous = WindowOf(QApplication::focusWidget());
        if (window) {
            QWidget* widget = LiveWidget(window);
            if (!widget)
                return nullptr;
            // The focus lives in the active window: a window of another
            // top-level window activates that one first, as user32 does.
            if (QWidget* top = widget->window(); top != QApplication::activeWindow() && top->isVisible()) {
                top->activateWindow();
                QApplication::setActiveWindow(top);
            }
            widget->setFocus(Qt::OtherFocusReason);
        } else if (QWidget* focus = QApplication::focusWidget()) {
            focus->clearFocus();
        }
        return previous;
    });
}

HWND GetFocus()
{
    return RunOnWindowThread([]() -> HWND { return WindowOf(QApplication::focusWidget()); });
}

HWND GetActiveWindow()
{
    return RunOnWindowThread([]() -> HWND { return WindowOf(QApplication::activeWindow()); });
}

BOOL SetForegroundWindow(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) {
        record.widget->raise();
        record.widget->activateWindow();
        return TRUE;
    });
}

BOOL BringWindowToTop(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) {
        record.widget->raise();
        if (record.widget->isWindow())
            record.widget->activateWindow();
        return TRUE;
    });
}
