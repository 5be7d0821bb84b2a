// The user32 window functions over registered widgets. Each follows the
// documented behaviour for the cases the runtime and its units reach; calls
// from other threads run on the window thread.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstring>
#include <string>

#include "platform/base/LastError.h"
#include "platform/codepage/CodePage.h"
#include "platform/ui/WidgetWindows.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "platform/ui/WindowThread.h"
#include "platform/ui/private/WindowClassRegistry.h"
#include "platform/ui/private/WindowInternals.h"

namespace vellumry::ui {
namespace {

constexpr DWORD kErrorInvalidWindowHandle = 1400;
constexpr DWORD kErrorCannotFindClass = 1407;

// Nominal frame metrics of top-level windows: caption height and border
// width by frame kind.
constexpr int kCaptionHeight = 23;
constexpr int kThickFrame = 4;
constexpr int kDialogFrame = 3;
constexpr int kThinBorder = 1;

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
        border += 2;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    return {border, border + caption, border, border};
}

WindowRecord* Live(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record || !record->widget || record->destroying) {
        SetLastError(kErrorInvalidWindowHandle);
        return nullptr;
    }
    return record;
}

QWidget* LiveWidget(HWND window)
{
    WindowRecord* record = Live(window);
    return record ? record->widget.data() : nullptr;
}

// Runs `work` with the live widget of a window on the window thread; FALSE,
// with the invalid-handle error set, when the window is gone.
template <typename Work>
BOOL OnLiveWidget(HWND window, Work work)
{
    return RunOnWindowThread([&]() -> BOOL {
        QWidget* widget = LiveWidget(window);
        return widget && work(widget) ? TRUE : FALSE;
    });
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

void PlaceWindow(WindowRecord& record, int x, int y, int width, int height, bool move, bool size,
                 bool report = true)
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

void ApplyEnabledState(WindowRecord& record)
{
    record.widget->setEnabled(!(record.style & WS_DISABLED));
}

// The window text (GBK) lives as a dynamic property of the widget.
constexpr const char* kWindowTextProperty = "vellumryWindowText";

std::string WindowText(const WindowRecord& record)
{
    return record.widget->property(kWindowTextProperty).toByteArray().toStdString();
}

void StoreWindowText(WindowRecord& record, const std::string& gbk)
{
    record.widget->setProperty(kWindowTextProperty, QByteArray::fromStdString(gbk));
    if (record.widget->isWindow())
        record.widget->setWindowTitle(QString::fromStdString(codepage::GbkToUtf8(gbk)));
}

void DestroyRecursively(WindowRecord& record)
{
    record.destroying = true;
    HWND window = record.handle;
    DeliverMessage(window, WM_DESTROY, 0, 0);
    // Children go after their parent, as documented.
    if (record.widget) {
        for (QObject* child : record.widget->children()) {
            auto* childWidget = qobject_cast<QWidget*>(child);
            if (!childWidget)
                continue;
            if (WindowRecord* childRecord = WindowTable::Instance().FindExact(childWidget);
                childRecord && !childRecord->destroying)
                DestroyRecursively(*childRecord);
        }
    }
    // Owned top-level windows go with their owner.
    for (HWND other : WindowTable::Instance().TopLevelWindows()) {
        WindowRecord* owned = WindowTable::Instance().Find(other);
        if (owned && owned->owner == window && !owned->destroying)
            DestroyRecursively(*owned);
    }
    WindowObject* object = record.object;
    WindowTable::DetachObject(record);
    QPointer<QWidget> widget = record.widget;
    bool owns = record.ownsWidget;
    WindowTable::Instance().Remove(window);
    if (widget && owns) {
        widget->hide();
        widget->deleteLater();
    }
    if (object)
        object->PostNcDestroy();
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

LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record)
        return 0;
    if (record->object)
        return record->object->WindowProc(message, wParam, lParam);
    if (record->classProcedure)
        return record->classProcedure(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
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

HWND AttachWidgetWindow(QWidget* widget, const char* className, DWORD style, DWORD exStyle, HWND owner,
                        int controlId)
{
    auto windowClass = FindWindowClass(className);
    WindowRecord& record = WindowTable::Instance().Add(widget, className ? className : "",
                                                       windowClass ? windowClass->procedure : nullptr, style,
                                                       exStyle);
    record.owner = owner;
    record.controlId = controlId;
    record.classCursor = windowClass ? windowClass->cursor : nullptr;
    BridgeWidgetEvents(widget);
    ApplyEnabledState(record);
    ApplyTopLevelStyles(record);
    return record.handle;
}

QWidget* WidgetOf(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    return record && !record->destroying ? record->widget.data() : nullptr;
}

HWND WindowOf(const QWidget* widget)
{
    WindowRecord* record = WindowTable::Instance().FindForWidget(widget);
    return record ? record->handle : nullptr;
}

}  // namespace vellumry::ui

using namespace vellumry::ui;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID)
{
    return RunOnWindowThread([&]() -> HWND {
        auto windowClass = FindWindowClass(className);
        if (!windowClass) {
            SetLastError(kErrorCannotFindClass);
            return nullptr;
        }
        QWidget* parentWidget = nullptr;
        if (parent) {
            parentWidget = LiveWidget(parent);
            if (!parentWidget)
                return nullptr;
        }
        bool child = (style & WS_CHILD) != 0;
        if (child && !parentWidget) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        QWidget* widget = child ? new QWidget(parentWidget) : new QWidget(parentWidget, Qt::Window);
        if (!windowClass->background)
            widget->setAttribute(Qt::WA_NoSystemBackground);
        HWND window = AttachWidgetWindow(widget, windowClass->name.c_str(), style & ~WS_VISIBLE, exStyle,
                                         child ? nullptr : parent,
                                         child ? static_cast<int>(reinterpret_cast<std::uintptr_t>(menu)) : 0);
        WindowRecord* record = WindowTable::Instance().Find(window);
        record->style = style;
        if (!child)
            widget->resize(std::max(width, 0), std::max(height, 0));  // provisional, replaced below
        PlaceWindow(*record, x, y, width, height, true, true, false);
        if (windowName)
            StoreWindowText(*record, windowName);
        if (DeliverMessage(window, WM_CREATE, 0, 0) == -1) {
            DestroyWindow(window);
            return nullptr;
        }
        ReportPlacement(window);
        if (style & WS_VISIBLE)
            widget->show();
        return window;
    });
}

BOOL DestroyWindow(HWND window)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record)
            return FALSE;
        DestroyRecursively(*record);
        return TRUE;
    });
}

BOOL IsWindow(HWND window)
{
    return WindowTable::Instance().IsLive(window) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record)
            return FALSE;
        QWidget* widget = record->widget;
        BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
        bool noActivate = command == SW_SHOWNA || command == SW_SHOWNOACTIVATE;
        widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
        switch (command) {
        case SW_HIDE:
            widget->hide();
            record->style &= ~WS_VISIBLE;
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
            if (widget->isWindow() && (record->style & WS_MINIMIZE))
                widget->showMinimized();
            else if (widget->isWindow() && (record->style & WS_MAXIMIZE))
                widget->showMaximized();
            else
                widget->show();
            break;
        }
        record->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        record->style |= WS_VISIBLE;
        return wasVisible;
    });
}

BOOL IsWindowVisible(HWND window)
{
    return OnLiveWidget(window, [](QWidget* widget) { return widget->isVisible(); });
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record)
            return FALSE;
        BOOL wasDisabled = (record->style & WS_DISABLED) ? TRUE : FALSE;
        if (enable)
            record->style &= ~WS_DISABLED;
        else
            record->style |= WS_DISABLED;
        record->widget->setEnabled(enable != FALSE);
        return wasDisabled;
    });
}

BOOL IsWindowEnabled(HWND window)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        return record && !(record->style & WS_DISABLED) ? TRUE : FALSE;
    });
}

BOOL IsIconic(HWND window)
{
    return OnLiveWidget(window, [](QWidget* widget) { return widget->isMinimized(); });
}

BOOL IsZoomed(HWND window)
{
    return OnLiveWidget(window, [](QWidget* widget) { return widget->isMaximized(); });
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record)
            return FALSE;
        PlaceWindow(*record, x, y, width, height, true, true);
        if (repaint)
            record->widget->update();
        return TRUE;
    });
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record)
            return FALSE;
        QWidget* widget = record->widget;
        bool move = !(flags & SWP_NOMOVE);
        bool size = !(flags & SWP_NOSIZE);
        if (move || size)
            PlaceWindow(*record, x, y, width, height, move, size);
        if (!(flags & SWP_NOZORDER)) {
            if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
                bool topmost = insertAfter == HWND_TOPMOST;
                record->exStyle = topmost ? (record->exStyle | WS_EX_TOPMOST) : (record->exStyle & ~WS_EX_TOPMOST);
                ApplyTopLevelStyles(*record);
            } else if (insertAfter == HWND_TOP) {
                widget->raise();
            } else if (insertAfter == HWND_BOTTOM) {
                widget->lower();
            } else if (QWidget* above = LiveWidget(insertAfter)) {
                if (above->parentWidget() == widget->parentWidget())
                    widget->stackUnder(above);
            }
        }
        if (flags & SWP_SHOWWINDOW) {
            if (flags & SWP_NOACTIVATE)
                widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
            widget->show();
            record->style |= WS_VISIBLE;
        }
        if (flags & SWP_HIDEWINDOW) {
            widget->hide();
            record->style &= ~WS_VISIBLE;
        }
        if (flags & SWP_FRAMECHANGED)
            ApplyTopLevelStyles(*record);
        return TRUE;
    });
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    return RunOnWindowThread([&]() -> BOOL {
        WindowRecord* record = Live(window);
        if (!record || !rect)
            return FALSE;
        RECT client = ToRect(ClientOnScreen(record->widget));
        *rect = FrameAround(client, record->style, record->exStyle);
        return TRUE;
    });
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    return OnLiveWidget(window, [&](QWidget* widget) {
        if (rect)
            *rect = {0, 0, widget->width(), widget->height()};
        return rect != nullptr;
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
    return RunOnWindowThread([&]() -> HWND {
        WindowRecord* record = Live(child);
        if (!record)
            return nullptr;
        QWidget* parentWidget = nullptr;
        if (parent) {
            parentWidget = LiveWidget(parent);
            if (!parentWidget)
                return nullptr;
        }
        QWidget* widget = record->widget;
        HWND previous = WindowOf(widget->parentWidget());
        if (widget->parentWidget() == parentWidget)
            return previous;
        bool visible = widget->isVisible() || (record->style & WS_VISIBLE);
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
    return RunOnWindowThread([&]() -> HWND {
        WindowRecord* record = Live(window);
        if (!record)
            return nullptr;
        if (record->widget->isWindow())
            return record->owner;
        return WindowOf(record->widget->parentWidget());
    });
}

HWND SetFocus(HWND window)
{
    return RunOnWindowThread([&]() -> HWND {
        HWND previous = WindowOf(QApplication::focusWidget());
        if (window) {
            QWidget* widget = LiveWidget(window);
            if (!widget)
                return nullptr;
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
    return OnLiveWidget(window, [](QWidget* widget) {
        widget->raise();
        widget->activateWindow();
        return true;
    });
}

BOOL BringWindowToTop(HWND window)
{
    return OnLiveWidget(window, [](QWidget* widget) {
        widget->raise();
        if (widget->isWindow())
            widget->activateWindow();
        return true;
    });
}

LONG GetWindowLongA(HWND window, int index)
{
    return RunOnWindowThread([&]() -> LONG {
        WindowRecord* record = Live(window);
        if (!record)
            return 0;
        switch (index) {
        case GWL_STYLE: {
            DWORD style = record->style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
            if (record->widget->isVisible())
                style |= WS_VISIBLE;
            if (record->widget->isMinimized())
                style |= WS_MINIMIZE;
            if (record->widget->isMaximized())
                style |= WS_MAXIMIZE;
            return static_cast<LONG>(style);
        }
        case GWL_EXSTYLE:
            return static_cast<LONG>(record->exStyle);
        case GWL_ID:
            return record->controlId;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    });
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    return RunOnWindowThread([&]() -> LONG {
        WindowRecord* record = Live(window);
        if (!record)
            return 0;
        LONG previous = 0;
        switch (index) {
        case GWL_STYLE:
            previous = static_cast<LONG>(record->style);
            record->style = static_cast<DWORD>(value);
            ApplyEnabledState(*record);
            ApplyTopLevelStyles(*record);
            return previous;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(record->exStyle);
            record->exStyle = static_cast<DWORD>(value);
            ApplyTopLevelStyles(*record);
            return previous;
        case GWL_ID:
            previous = record->controlId;
            record->controlId = value;
            return previous;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    });
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    return RunOnWindowThread([&]() -> BOOL {
        if (!Live(window))
            return FALSE;
        DeliverMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
        return TRUE;
    });
}

int GetWindowTextA(HWND window, LPSTR text, int size)
{
    return RunOnWindowThread([&]() -> int {
        WindowRecord* record = Live(window);
        if (!record || !text || size <= 0)
            return 0;
        std::string current = WindowText(*record);
        int length = std::min(static_cast<int>(current.size()), size - 1);
        std::memcpy(text, current.data(), static_cast<size_t>(length));
        text[length] = '\0';
        return length;
    });
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    return OnLiveWidget(window, [&](QWidget* widget) {
        if (rect)
            widget->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
        else
            widget->update();
        return true;
    });
}

BOOL UpdateWindow(HWND window)
{
    return OnLiveWidget(window, [](QWidget* widget) {
        widget->repaint();
        return true;
    });
}

namespace {

// Registered child windows of a widget, bottom of the z-order first.
std::vector<HWND> ChildWindowsBottomUp(QWidget* parent)
{
    std::vector<HWND> result;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (WindowRecord* record = WindowTable::Instance().FindExact(widget); record && !record->destroying)
            result.push_back(record->handle);
    }
    return result;
}

}  // namespace

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

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SETTEXT:
        if (WindowRecord* record = Live(window)) {
            StoreWindowText(*record, reinterpret_cast<LPCSTR>(lParam) ? reinterpret_cast<LPCSTR>(lParam) : "");
            return TRUE;
        }
        return FALSE;
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RunOnWindowThread([&]() -> LRESULT {
        if (!Live(window))
            return 0;
        return DeliverMessage(window, message, wParam, lParam);
    });
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(window)) {
        SetLastError(kErrorInvalidWindowHandle);
        return FALSE;
    }
    PostToWindowThread([=] {
        if (IsWindow(window))
            DeliverMessage(window, message, wParam, lParam);
    });
    return TRUE;
}

bool vellumry::ui::RenderWindowToPng(HWND window, const char* hostPath)
{
    return RunOnWindowThread([&]() -> bool {
        QWidget* widget = LiveWidget(window);
        return widget && hostPath && widget->grab().save(QString::fromUtf8(hostPath), "PNG");
    });
}

BOOL WinHelpA(HWND, LPCSTR, UINT command, ULONG_PTR)
{
    if (command == HELP_QUIT)
        return TRUE;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

int GetSystemMetrics(int index)
{
    QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                          ? QGuiApplication::primaryScreen()
                          : nullptr;
    QRect geometry = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    switch (index) {
    case SM_CXSCREEN:
        return geometry.width();
    case SM_CYSCREEN:
        return geometry.height();
    default:
        return 0;
    }
}

DWORD GetSysColor(int index)
{
    // The classic default scheme.
    switch (index) {
    case COLOR_BTNFACE:
        return 0x00F0F0F0;
    case COLOR_WINDOW:
        return 0x00FFFFFF;
    case COLOR_WINDOWTEXT:
        return 0x00000000;
    default:
        return 0x00C0C0C0;
    }
}
