// Messages: SendMessageA (delivered at once, on the window thread),
// PostMessageA (queued for the window thread) and DefWindowProcA (WM_CLOSE
// destroys the window, WM_SETTEXT stores the text), as user32 documents them
// for the cases the runtime and its units reach. A message goes to the
// window's object when it has one, else to its class procedure.

#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/WindowObject.h"
#include "platform/ui/private/WindowInternals.h"

namespace vellumry::ui {

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

}  // namespace vellumry::ui

using namespace vellumry::ui;

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SETTEXT:
        if (WindowRecord* record = LiveRecord(window)) {
            auto text = reinterpret_cast<LPCSTR>(lParam);
            StoreWindowText(*record, text ? text : "");
            return TRUE;
        }
        return FALSE;
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WithLiveWindow(window, LRESULT{0},
                          [&](WindowRecord&) { return DeliverMessage(window, message, wParam, lParam); });
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PostToWindowThread([=] {
        if (IsWindow(window))
            DeliverMessage(window, message, wParam, lParam);
    });
    return TRUE;
}
