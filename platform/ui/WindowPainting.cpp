// Painting: InvalidateRect and UpdateWindow as user32 documents them (a later
// or an immediate repaint of the window or a part of it), and the rendering of
// a window into a PNG file. Calls from other threads run on the window thread.

#include <QImage>
#include <QImageWriter>
#include <QRect>
#include <QString>
#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/private/UnseenPlatform.h"
#include "platform/ui/private/WindowInternals.h"
#include "platform/ui/qt/LargeImage.h"
#include "platform/ui/qt/WidgetWindows.h"

using namespace vellumry::ui;

namespace {

constexpr int kSnapshotCompression = 30;

bool g_skipUnseenDrawing = false;  // window thread

// The window as it paints itself, as QWidget::grab renders it (background,
// children, no mask), into memory for large blocks: a window-sized picture
// otherwise faults in page by page.
QImage Snapshot(QWidget& widget)
{
    SendMessageA(WindowOf(&widget), kMessageBeforeSnapshot, 0, 0);
    for (QWidget* child : widget.findChildren<QWidget*>())
        if (HWND window = WindowOf(child))
            SendMessageA(window, kMessageBeforeSnapshot, 0, 0);
    // A window that draws nothing (SkipUnseenDrawing) draws for the picture:
    // rendering leaves out what has updates off.
    struct Drawing {
        QWidget& widget;
        const bool was = widget.updatesEnabled();
        explicit Drawing(QWidget& widget) : widget(widget) { widget.setUpdatesEnabled(true); }
        ~Drawing() { widget.setUpdatesEnabled(was); }
    } drawing(widget);
    const qreal ratio = widget.devicePixelRatioF();
    const QSize size = (QSizeF(widget.size()) * ratio).toSize();
    const bool translucent = widget.testAttribute(Qt::WA_TranslucentBackground);
    QImage image = NewLargeImage(size.width(), size.height(),
                                 translucent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return widget.grab().toImage();
    image.setDevicePixelRatio(ratio);
    if (translucent)
        image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(widget.rect()),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    return image;
}

}  // namespace

void vellumry::ui::SkipUnseenDrawing(bool skip)
{
    g_skipUnseenDrawing = skip;
}

void vellumry::ui::ApplyUnseenDrawing(QWidget& widget)
{
    if (g_skipUnseenDrawing && widget.isWindow() && NobodySeesWindows())
        widget.setUpdatesEnabled(false);
}

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
        if (!hostPath)
            return false;
        // A snapshot is written once and read by people and tests, so the
        // fastest deflate level serves it: zlib's default level costs as much
        // as the whole rest of showing a window full of photographs.
        QImageWriter writer(QString::fromUtf8(hostPath), "PNG");
        writer.setCompression(kSnapshotCompression);
        return writer.write(Snapshot(*record.widget));
    });
}
