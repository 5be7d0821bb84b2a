#pragma once

// A window class whose procedure records every message it receives, for the
// tests of the window functions.

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"

namespace vellumry::test {

struct SeenMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<SeenMessage>& SeenMessages();
const char* RecordingClassName();  // registered on first use

HWND MakeTopLevel(DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, int width = 300, int height = 200);
HWND MakeChild(HWND parent, int x, int y, int width, int height, int id = 0, DWORD style = WS_CHILD | WS_VISIBLE);

// Messages of one kind seen by one window, in order.
std::vector<SeenMessage> SeenBy(HWND window, UINT message);

}  // namespace vellumry::test
