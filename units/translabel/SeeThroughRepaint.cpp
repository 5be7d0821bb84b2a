#include "units/translabel/SeeThroughRepaint.h"

#include <QRect>
#include <QWidget>

#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::units {
namespace {

HWND OuterWindow(HWND window)
{
    HWND outer = window;
    while (!(static_cast<DWORD>(GetWindowLongA(outer, GWL_STYLE)) & WS_POPUP)) {
        HWND parent = GetParent(outer);
        QWidget* widget = ui::WidgetOf(outer);
        if (!parent || !widget || widget->isWindow())
            break;
        outer = parent;
    }
    return outer;
}

}  // namespace

void SeeThroughRepaint(HWND window)
{
    QWidget* widget = ui::WidgetOf(window);
    if (!widget)
        return;
    HWND outer = OuterWindow(window);
    QWidget* outerWidget = ui::WidgetOf(outer);
    if (outerWidget && outer != window && outerWidget->isVisible()) {
        RECT area{0, 0, widget->width(), widget->height()};
        MapWindowPoints(window, outer, reinterpret_cast<POINT*>(&area), 2);
        QRect rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
        // Repainting a part of the outer window repaints every visible
        // window below it that meets that part, parents before children,
        // so the label's background is complete when this returns.
        outerWidget->repaint(rect);
    }
    InvalidateRect(window, nullptr, FALSE);
}

}  // namespace vellumry::units
