#pragma once

// The table behind window handles: one record per live window, mapping the
// handle to its widget, class, styles and attached window object. Handles are
// allocated from a counter and never reused. Window thread only, except the
// validity check, which any thread may make: what it reads (whether the
// record is being destroyed, whether its widget still exists) is read and
// written under the table's lock, through the functions below.

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Guarded.h"
#include "platform/ui/WinUser.h"

namespace vellumry::ui {

class WindowObject;

struct WindowRecord {
    HWND handle = nullptr;
    QPointer<QWidget> widget;
    WindowObject* object = nullptr;
    std::string className;
    WNDPROC classProcedure = nullptr;
    HCURSOR classCursor = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    int controlId = 0;
    bool ownsWidget = true;   // DestroyWindow deletes the widget
    // Set when DestroyWindow took the window on: the window is still valid
    // (its own WM_DESTROY and its children's run now), but it is not
    // destroyed a second time. Window thread only.
    bool destroyStarted = false;
    // Under the table's lock (WindowTable::Destroying, MarkDestroying): set
    // once the WM_DESTROY messages are through; from then on the handle is
    // invalid.
    bool destroying = false;
    // Under the table's lock: cleared when the widget is deleted, so that
    // other threads never look at the widget pointer itself.
    bool hasWidget = true;
    // The placement last reported with WM_MOVE / WM_SIZE: a message goes out
    // only when it changes.
    std::optional<QPoint> reportedPosition;
    std::optional<QSize> reportedSize;
};

class WindowTable {
public:
    static WindowTable& Instance();

    WindowRecord& Add(QWidget* widget, std::string className, WNDPROC procedure, DWORD style, DWORD exStyle);
    WindowRecord* Find(HWND window);
    // The record of the widget or of its nearest registered ancestor.
    WindowRecord* FindForWidget(const QWidget* widget);
    WindowRecord* FindExact(const QWidget* widget);
    void Remove(HWND window);
    // Any thread: the handle names a window that is not destroyed.
    bool IsLive(HWND window);
    bool Destroying(const WindowRecord& record);
    void MarkDestroying(WindowRecord& record);
    std::vector<HWND> TopLevelWindows();

    static void AttachObject(WindowRecord& record, WindowObject* object);
    static void DetachObject(WindowRecord& record);

private:
    static constexpr std::uintptr_t kFirstHandle = 0x10014;
    static constexpr std::uintptr_t kHandleStep = 4;

    struct Maps {
        std::uintptr_t next = kFirstHandle;
        std::map<HWND, std::unique_ptr<WindowRecord>> records;
        std::map<const QWidget*, HWND> byWidget;
    };
    // Guarded for the validity checks that other threads make.
    base::Guarded<Maps> m_maps;
};

}  // namespace vellumry::ui
