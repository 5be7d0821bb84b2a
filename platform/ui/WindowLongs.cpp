// A window's longs and text: GetWindowLongA and SetWindowLongA (GWL_STYLE,
// GWL_EXSTYLE, GWL_ID), SetWindowTextA and GetWindowTextA, as user32
// documents them for the cases the runtime and its units reach. A style write
// takes effect at once (enabled state, frame and caption buttons); the text is
// set through WM_SETTEXT, so a window object may handle it. Calls from other
// threads run on the window thread.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/LastError.h"
#include "platform/codepage/CodePage.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/private/WindowInternals.h"

namespace vellumry::ui {
namespace {

// The window text (GBK) lives as a dynamic property of the widget.
constexpr const char* kWindowTextProperty = "vellumryWindowText";

}  // namespace

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

}  // namespace vellumry::ui

using namespace vellumry::ui;

LONG GetWindowLongA(HWND window, int index)
{
    return WithLiveWindow(window, LONG{0}, [&](WindowRecord& record) -> LONG {
        switch (index) {
        case GWL_STYLE: {
            DWORD style = record.style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
            if (record.widget->isVisible())
                style |= WS_VISIBLE;
            if (record.widget->isMinimized())
                style |= WS_MINIMIZE;
            if (record.widget->isMaximized())
                style |= WS_MAXIMIZE;
            return static_cast<LONG>(style);
        }
        case GWL_EXSTYLE:
            return static_cast<LONG>(record.exStyle);
        case GWL_ID:
            return record.controlId;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    });
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    return WithLiveWindow(window, LONG{0}, [&](WindowRecord& record) -> LONG {
        LONG previous = 0;
        switch (index) {
        case GWL_STYLE:
            previous = static_cast<LONG>(record.style);
            record.style = static_cast<DWORD>(value);
            ApplyEnabledState(record);
            ApplyTopLevelStyles(record);
            return previous;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(record.exStyle);
            record.exStyle = static_cast<DWORD>(value);
            ApplyTopLevelStyles(record);
            return previous;
        case GWL_ID:
            previous = record.controlId;
            record.controlId = value;
            return previous;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    });
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    return WithLiveWindow(window, FALSE, [&](WindowRecord&) {
        DeliverMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
        return TRUE;
    });
}

int GetWindowTextA(HWND window, LPSTR text, int size)
{
    return WithLiveWindow(window, 0, [&](WindowRecord& record) {
        if (!text || size <= 0)
            return 0;
        std::string current = WindowText(record);
        int length = std::min(static_cast<int>(current.size()), size - 1);
        std::memcpy(text, current.data(), static_cast<size_t>(length));
        text[length] = '\0';
        return length;
    });
}
