// Creating and destroying windows (CreateWindowExA, DestroyWindow, IsWindow)
// over registered widgets, as user32 documents them for the cases the runtime
// and its units reach: WM_CREATE answered -1 cancels the creation, children
// and owned windows are destroyed with their window (owned windows first,
// children after their parent's WM_DESTROY), a window stays valid through its
// own WM_DESTROY, and a destroyed window's handle is never valid again. Calls
// from other threads run on the window thread.

#include <QPointer>
#include <QWidget>

#include <memory>

#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "platform/ui/private/WindowClassRegistry.h"
#include "platform/ui/private/WindowInternals.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {
namespace {

// Destroys a window as user32 does: its owned windows first, then its own
// WM_DESTROY, then its children's; only then does the handle become invalid,
// so that WM_DESTROY handlers may still use the window and its children.
void DestroyRecursively(WindowRecord& record)
{
    WindowTable& table = WindowTable::Instance();
    HWND window = record.handle;
    record.destroyStarted = true;
    for (HWND other : table.TopLevelWindows()) {
        WindowRecord* owned = table.Find(other);
        if (owned && owned->owner == window && !owned->destroyStarted)
            DestroyRecursively(*owned);
    }
    DeliverMessage(window, WM_DESTROY, 0, 0);
    if (record.widget) {
        for (QObject* child : record.widget->children()) {
            auto* childWidget = qobject_cast<QWidget*>(child);
            if (!childWidget)
                continue;
            if (WindowRecord* childRecord = table.FindExact(childWidget); childRecord && !childRecord->destroyStarted)
                DestroyRecursively(*childRecord);
        }
    }
    table.MarkDestroying(record);
    WindowObject* object = record.object;
    WindowTable::DetachObject(record);
    QPointer<QWidget> widget = record.widget;
    bool owns = record.ownsWidget;
    table.Remove(window);
    if (widget && owns) {
        widget->hide();
        widget->deleteLater();
    }
    if (object)
        object->PostNcDestroy();
}

}  // namespace

WindowRecord* LiveRecord(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    if (!record || !record->widget || WindowTable::Instance().Destroying(*record)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return record;
}

QWidget* LiveWidget(HWND window)
{
    WindowRecord* record = LiveRecord(window);
    return record ? record->widget.data() : nullptr;
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
    ApplyUnseenDrawing(*widget);
    return record.handle;
}

QWidget* WidgetOf(HWND window)
{
    WindowRecord* record = WindowTable::Instance().Find(window);
    return record && !WindowTable::Instance().Destroying(*record) ? record->widget.data() : nullptr;
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
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
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
        auto owned = child ? std::make_unique<QWidget>(parentWidget)
                           : std::make_unique<QWidget>(parentWidget, Qt::Window);
        QWidget* widget = owned.get();
        if (!windowClass->background)
            widget->setAttribute(Qt::WA_NoSystemBackground);
        HWND window = AttachWidgetWindow(widget, windowClass->name.c_str(), style & ~WS_VISIBLE, exStyle,
                                         child ? nullptr : parent,
                                         child ? static_cast<int>(reinterpret_cast<std::uintptr_t>(menu)) : 0);
        owned.release();  // the window owns its widget now; DestroyWindow deletes it
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
        if (style & WS_VISIBLE) {
            widget->show();
            NotifyChildVisibility(window, widget, false, true);
        }
        return window;
    });
}

BOOL DestroyWindow(HWND window)
{
    return WithLiveWindow(window, FALSE, [](WindowRecord& record) {
        // Asked again from a WM_DESTROY handler: the destruction under way
        // goes on.
        if (!record.destroyStarted)
            DestroyRecursively(record);
        return TRUE;
    });
}

BOOL IsWindow(HWND window)
{
    return WindowTable::Instance().IsLive(window) ? TRUE : FALSE;
}
