// Painting: InvalidateRect and UpdateWindow as user32 documents them (a later
// or an immediate repaint of the window or a part of it), and the rendering of
// a window into a PNG file. Calls from other threads run on the window thread.

#include <QRect>
#include <QString>
#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowInternals.h"

using namespace vellumry::ui;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        if (rect)
            record.widget->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
        else
            record.widget->update();
        return TRUE;
    });
}

BOOL UpdateWindow(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) {
        record.widget->repaint();
        return TRUE;
    });
}

bool vellumry::ui::RenderWindowToPng(HWND window, const char* hostPath)
{
    return WithLiveWindow(window, false, [&](WindowRecord& record) {
        return hostPath && record.widget->grab().save(QString::fromUtf8(hostPath), "PNG");
    });
}
