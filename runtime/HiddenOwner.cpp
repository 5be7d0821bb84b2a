#include "runtime/HiddenOwner.h"

#include <atomic>

#include "platform/ui/WinUser.h"
#include "runtime/Shutdown.h"

namespace vellumry::runtime {
namespace {

constexpr const char* kClassName = "_QV_HideOwner";

std::atomic<HWND> g_window{nullptr};

LRESULT HiddenOwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMessageEndProgram)
        EndProgram(static_cast<std::int32_t>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void CreateHiddenOwner()
{
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(nullptr, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = HiddenOwnerProcedure;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = nullptr;  // the null brush: nothing painted
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
    }
    g_window.store(CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                   nullptr));
}

void DestroyHiddenOwner()
{
    if (HWND window = g_window.exchange(nullptr))
        DestroyWindow(window);
}

HWND HiddenOwner()
{
    return g_window.load();
}

void ForwardEndProgram(std::int32_t code)
{
    HWND window = g_window.load();
    if (window && IsWindow(window))
        SendMessageA(window, kMessageEndProgram, static_cast<WPARAM>(code), 0);
}

}  // namespace vellumry::runtime
