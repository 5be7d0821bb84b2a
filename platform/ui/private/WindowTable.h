#pragma once

// The table behind window handles: one record per live window, mapping the
// handle to its widget, class, styles and attached window object. Handles are
// allocated from a counter and never reused. Window thread only, except the
// validity check, which any thread may make.

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
    bool destroying = false;
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
    bool IsLive(HWND window);
    std::vector<HWND> TopLevelWindows();

    static void AttachObject(WindowRecord& record, WindowObject* object);
    static void DetachObject(WindowRecord& record);

private:
    std::mutex m_lock;  // guards the maps for cross-thread IsLive checks
    std::uintptr_t m_next = 0x10010;
    std::map<HWND, std::unique_ptr<WindowRecord>> m_records;
    std::map<const QWidget*, HWND> m_byWidget;
};

}  // namespace vellumry::ui
