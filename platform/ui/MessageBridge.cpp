// Turns the Qt events of registered widgets into the window messages their
// objects expect: close, move, size, show and hide, activation and focus.

#include <QCloseEvent>
#include <QEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWidget>

#include "platform/ui/private/WindowInternals.h"

namespace vellumry::ui {
namespace {

constexpr WPARAM kSizeRestored = 0;
constexpr WPARAM kSizeMinimized = 1;
constexpr WPARAM kSizeMaximized = 2;

LPARAM PackPoint(int x, int y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
}

WPARAM SizeKind(const QWidget* widget)
{
    if (widget->isMinimized())
        return kSizeMinimized;
    if (widget->isMaximized())
        return kSizeMaximized;
    return kSizeRestored;
}

}  // namespace

void ReportPlacement(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record || !record->widget || WindowTable::Instance().Destroying(*record))
        return;
    QWidget* widget = record->widget;
    QPoint at = widget->isWindow() ? widget->geometry().topLeft() : widget->pos();
    if (record->reportedPosition != at) {
        record->reportedPosition = at;
        DeliverMessage(window, WM_MOVE, 0, PackPoint(at.x(), at.y()));
    }
    record = WindowTable::Instance().Find(window);  // the handler may have destroyed it
    if (!record || !record->widget || WindowTable::Instance().Destroying(*record))
        return;
    QSize size = widget->size();
    if (record->reportedSize != size) {
        record->reportedSize = size;
        DeliverMessage(window, WM_SIZE, SizeKind(widget), PackPoint(size.width(), size.height()));
    }
}

namespace {

class MessageBridge : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        WindowRecord* record = widget ? WindowTable::Instance().FindExact(widget) : nullptr;
        if (!record || WindowTable::Instance().Destroying(*record))
            return false;
        HWND window = record->handle;
        switch (event->type()) {
        case QEvent::Close:
            // The window decides: its WM_CLOSE handling (by default
            // DestroyWindow) runs, and Qt's own closing is refused.
            event->ignore();
            DeliverMessage(window, WM_CLOSE, 0, 0);
            return true;
        case QEvent::Move:
        case QEvent::Resize:
            ReportPlacement(window);
            break;
        case QEvent::WindowStateChange:
            record->reportedSize.reset();  // the size kind changed
            ReportPlacement(window);
            break;
        // Qt tells every widget of a window when the window is shown,
        // hidden, activated or deactivated; user32 tells only the top-level
        // window. A child hears of its own ShowWindow from ShowWindow.
        case QEvent::Show:
            if (widget->isWindow())
                DeliverMessage(window, WM_SHOWWINDOW, TRUE, 0);
            break;
        case QEvent::Hide:
            if (widget->isWindow())
                DeliverMessage(window, WM_SHOWWINDOW, FALSE, 0);
            break;
        case QEvent::WindowActivate:
            if (widget->isWindow())
                DeliverMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
            break;
        case QEvent::WindowDeactivate:
            if (widget->isWindow())
                DeliverMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
            break;
        case QEvent::FocusIn:
            DeliverMessage(window, WM_SETFOCUS, 0, 0);
            break;
        case QEvent::FocusOut:
            DeliverMessage(window, WM_KILLFOCUS, 0, 0);
            break;
        default:
            break;
        }
        return false;
    }
};

}  // namespace

void BridgeWidgetEvents(QWidget* widget)
{
    static MessageBridge bridge;
    widget->installEventFilter(&bridge);
}

}  // namespace vellumry::ui
