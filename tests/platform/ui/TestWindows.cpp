#include "tests/platform/ui/TestWindows.h"

namespace vellumry::test {
namespace {

LRESULT Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SeenMessages().push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<SeenMessage>& SeenMessages()
{
    static std::vector<SeenMessage> seen;
    return seen;
}

const char* RecordingClassName()
{
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Recording;
        windowClass.lpszClassName = "RecordingWindow";
        RegisterClassA(&windowClass);
        return "RecordingWindow";
    }();
    return name;
}

HWND MakeTopLevel(DWORD style, int width, int height)
{
    return CreateWindowExA(0, RecordingClassName(), "top", style, 10, 20, width, height, nullptr, nullptr, nullptr,
                           nullptr);
}

HWND MakeChild(HWND parent, int x, int y, int width, int height, int id, DWORD style)
{
    return CreateWindowExA(0, RecordingClassName(), "", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
}

std::vector<SeenMessage> SeenBy(HWND window, UINT message)
{
    std::vector<SeenMessage> result;
    for (const SeenMessage& m : SeenMessages())
        if (m.window == window && m.message == message)
            result.push_back(m);
    return result;
}

}  // namespace vellumry::test
