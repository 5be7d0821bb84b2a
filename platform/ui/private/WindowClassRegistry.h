#pragma once

#include <optional>
#include <string>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
};

std::optional<WindowClass> FindWindowClass(LPCSTR name);

}  // namespace vellumry::ui
