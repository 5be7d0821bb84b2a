#pragma once

// A framework window object: the C++ object that owns the behaviour of one
// window. It receives the messages sent or posted to its window and the
// window events (close, move, size, show, activation, focus) translated into
// the matching WM_ messages, and it is offered keyboard and mouse messages
// for its window and every window below it before they are dispatched.
//
// Objects are attached to at most one window. When the window is destroyed
// the object receives WM_DESTROY, is detached, and PostNcDestroy runs, where
// an object that owns itself may delete itself. Window thread only.

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

class WindowObject {
public:
    WindowObject() = default;
    virtual ~WindowObject();
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND Handle() const { return m_handle; }

    // Links this object to a window that has no object yet.
    bool Attach(HWND window);
    // Unlinks the object from its window, which lives on without one.
    HWND Detach();

    // The object attached to a window, or null.
    static WindowObject* FromHandle(HWND window);

    // Offered before dispatch; true consumes the message.
    virtual bool PreTranslateMessage(MSG& message);
    // Messages for the window; the default is the window class's procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window is gone.
    virtual void PostNcDestroy() {}

private:
    friend class WindowTable;
    HWND m_handle = nullptr;
};

}  // namespace vellumry::ui
