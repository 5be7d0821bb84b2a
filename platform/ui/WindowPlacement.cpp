// Where windows are: MoveWindow, SetWindowPos, GetWindowRect, GetClientRect,
// MapWindowPoints, the parent (SetParent, GetParent) and the z-order of
// children (GetTopWindow, GetNextWindow), as user32 documents them for the
// cases the runtime and its units reach. A top-level window's rectangle is
// its outer frame on the screen, computed from fixed nominal frame metrics;
// a child's is relative to its parent's client area. Calls from other threads
// run on the window thread.

#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowInternals.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {
namespace {

// Nominal frame metrics of top-level windows: caption height and border
// width by frame kind.
constexpr int kCaptionHeight = 23;
constexpr int kThickFrame = 4;
constexpr int kDialogFrame = 3;
constexpr int kThinBorder = 1;
constexpr int kClientEdge = 2;

struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

Margins NominalFrame(DWORD style, DWORD exStyle)
{
    if (style & WS_CHILD)
        return {};
    int border = 0;
    if (style & WS_THICKFRAME)
        border = kThickFrame;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = kDialogFrame;
    else if (style & WS_BORDER)
        border = kThinBorder;
    if (exStyle & WS_EX_CLIENTEDGE)
        border += kClientEdge;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    return {border, border + caption, border, border};
}

RECT ToRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The screen rectangle of a window's client area.
QRect ClientOnScreen(const QWidget* widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// Without a thick frame the user cannot resize a top-level window; the
// program still can, through PlaceWindow.
void FixSizeUnlessResizable(WindowRecord& record)
{
    QWidget* widget = record.widget;
    if (!widget || !widget->isWindow())
        return;
    if (record.style & WS_THICKFRAME) {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        widget->setFixedSize(widget->size());
    }
}

// Registered child windows of a widget, bottom of the z-order first.
std::vector<HWND> ChildWindowsBottomUp(QWidget* parent)
{
    std::vector<HWND> result;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (WindowRecord* record = WindowTable::Instance().FindExact(widget); record && !WindowTable::Instance().Destroying(*record))
            result.push_back(record->handle);
    }
    return result;
}

void Restack(WindowRecord& record, HWND insertAfter)
{
    QWidget* widget = record.widget;
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        bool topmost = insertAfter == HWND_TOPMOST;
        record.exStyle = topmost ? (record.exStyle | WS_EX_TOPMOST) : (record.exStyle & ~WS_EX_TOPMOST);
        ApplyTopLevelStyles(record);
    } else if (insertAfter == HWND_TOP) {
        widget->raise();
    } else if (insertAfter == HWND_BOTTOM) {
        widget->lower();
    } else if (QWidget* above = LiveWidget(insertAfter)) {
        if (above->parentWidget() == widget->parentWidget())
            widget->stackUnder(above);
    }
}

}  // namespace

RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle)
{
    Margins m = NominalFrame(style, exStyle);
    return {client.left - m.left, client.top - m.top, client.right + m.right, client.bottom + m.bottom};
}

RECT ClientWithin(const RECT& frame, DWORD style, DWORD exStyle)
{
    Margins m = NominalFrame(style, exStyle);
    RECT client{frame.left + m.left, frame.top + m.top, frame.right - m.right, frame.bottom - m.bottom};
    if (client.right < client.left)
        client.right = client.left;
    if (client.bottom < client.top)
        client.bottom = client.top;
    return client;
}

void PlaceWindow(WindowRecord& record, int x, int y, int width, int height, bool move, bool size, bool report)
{
    QWidget* widget = record.widget;
    if (widget->isWindow()) {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        RECT frame = ToRect(ClientOnScreen(widget));
        frame = FrameAround(frame, record.style, record.exStyle);
        if (move) {
            int w = frame.right - frame.left;
            int h = frame.bottom - frame.top;
            frame = {x, y, x + w, y + h};
        }
        if (size)
            frame.right = frame.left + width, frame.bottom = frame.top + height;
        RECT client = ClientWithin(frame, record.style, record.exStyle);
        widget->setGeometry(client.left, client.top, client.right - client.left, client.bottom - client.top);
        FixSizeUnlessResizable(record);
    } else {
        QRect geometry = widget->geometry();
        if (move)
            geometry.moveTo(x, y);
        if (size)
            geometry.setSize(QSize(std::max(width, 0), std::max(height, 0)));
        widget->setGeometry(geometry);
    }
    if (report)
        ReportPlacement(record.handle);
}

void ApplyTopLevelStyles(WindowRecord& record)
{
    QWidget* widget = record.widget;
    if (!widget || !widget->isWindow())
        return;
    DWORD style = record.style;
    DWORD exStyle = record.exStyle;
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & WS_SYSMENU)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    if (widget->windowFlags() != flags) {
        bool visible = widget->isVisible();
        widget->setWindowFlags(flags);
        if (visible)
            widget->show();
    }
    FixSizeUnlessResizable(record);
}

}  // namespace vellumry::ui

using namespace vellumry::ui;

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        PlaceWindow(record, x, y, width, height, true, true);
        if (repaint)
            record.widget->update();
        return TRUE;
    });
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        QWidget* widget = record.widget;
        bool move = !(flags & SWP_NOMOVE);
        bool size = !(flags & SWP_NOSIZE);
        if (move || size)
            PlaceWindow(record, x, y, width, height, move, size);
        if (!(flags & SWP_NOZORDER))
            Restack(record, insertAfter);
        if (flags & SWP_SHOWWINDOW) {
            if (flags & SWP_NOACTIVATE)
                widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
            widget->show();
            record.style |= WS_VISIBLE;
        }
        if (flags & SWP_HIDEWINDOW) {
            widget->hide();
            record.style &= ~WS_VISIBLE;
        }
        if (flags & SWP_FRAMECHANGED)
            ApplyTopLevelStyles(record);
        return TRUE;
    });
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        if (!rect)
            return FALSE;
        *rect = FrameAround(ToRect(ClientOnScreen(record.widget)), record.style, record.exStyle);
        return TRUE;
    });
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord& record) {
        if (!rect)
            return FALSE;
        *rect = {0, 0, record.widget->width(), record.widget->height()};
        return TRUE;
    });
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    return RunOnWindowThread([&]() -> int {
        QPoint origin;
        if (from) {
            QWidget* widget = LiveWidget(from);
            if (!widget)
                return 0;
            origin += widget->mapToGlobal(QPoint(0, 0));
        }
        if (to) {
            QWidget* widget = LiveWidget(to);
            if (!widget)
                return 0;
            origin -= widget->mapToGlobal(QPoint(0, 0));
        }
        for (UINT i = 0; i < count; ++i) {
            points[i].x += origin.x();
            points[i].y += origin.y();
        }
        return static_cast<int>((static_cast<std::uint32_t>(origin.y() & 0xFFFF) << 16) |
                                static_cast<std::uint32_t>(origin.x() & 0xFFFF));
    });
}

HWND SetParent(HWND child, HWND parent)
{
    return WithLiveWindow(child, HWND{}, [&](WindowRecord& record) -> HWND {
        QWidget* parentWidget = nullptr;
        if (parent) {
            parentWidget = LiveWidget(parent);
            if (!parentWidget)
                return nullptr;
        }
        QWidget* widget = record.widget;
        HWND previous = WindowOf(widget->parentWidget());
        if (widget->parentWidget() == parentWidget)
            return previous;
        bool visible = widget->isVisible() || (record.style & WS_VISIBLE);
        QPoint position = widget->pos();
        widget->setParent(parentWidget, widget->windowFlags());
        widget->move(position);
        if (visible)
            widget->show();
        return previous;
    });
}

HWND GetParent(HWND window)
{
    return WithLiveWindow(window, HWND{}, [](WindowRecord& record) {
        if (record.widget->isWindow())
            return record.owner;
        return WindowOf(record.widget->parentWidget());
    });
}

HWND GetTopWindow(HWND parent)
{
    return RunOnWindowThread([&]() -> HWND {
        QWidget* widget = LiveWidget(parent);
        if (!widget)
            return nullptr;
        auto children = ChildWindowsBottomUp(widget);
        return children.empty() ? nullptr : children.back();
    });
}

HWND GetNextWindow(HWND window, UINT direction)
{
    return RunOnWindowThread([&]() -> HWND {
        QWidget* widget = LiveWidget(window);
        if (!widget || !widget->parentWidget())
            return nullptr;
        auto siblings = ChildWindowsBottomUp(widget->parentWidget());
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i] != window)
                continue;
            if (direction == GW_HWNDNEXT)  // the next one down
                return i > 0 ? siblings[i - 1] : nullptr;
            return i + 1 < siblings.size() ? siblings[i + 1] : nullptr;
        }
        return nullptr;
    });
}
