#include "units/common/BorderStyle.h"

#include <algorithm>

namespace vellumry::units {
namespace {

constexpr DWORD kStyleBits = WS_BORDER;
constexpr DWORD kExStyleBits = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

// The nominal widths of the edges: a 3D client edge 2, a dialog frame 3, a
// static edge and a plain border 1.
constexpr int kClientEdge = 2;
constexpr int kDialogFrame = 3;
constexpr int kThinEdge = 1;

}  // namespace

BorderBits BorderBitsOf(std::int32_t borderStyle)
{
    switch (std::clamp(borderStyle, 0, kHighestBorderStyle)) {
    case 1: return {0, WS_EX_CLIENTEDGE};
    case 2: return {0, WS_EX_DLGMODALFRAME};
    case 3: return {0, WS_EX_STATICEDGE};
    case 4: return {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
    case 5: return {WS_BORDER, 0};
    default: return {};
    }
}

void ApplyBorderStyle(HWND window, std::int32_t borderStyle)
{
    BorderBits bits = BorderBitsOf(borderStyle);
    auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>((style & ~kStyleBits) | bits.style));
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>((exStyle & ~kExStyleBits) | bits.exStyle));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int BorderInset(DWORD style, DWORD exStyle)
{
    int inset = 0;
    if (exStyle & WS_EX_DLGMODALFRAME)
        inset += kDialogFrame;
    else if (style & WS_BORDER)
        inset += kThinEdge;
    if (exStyle & WS_EX_CLIENTEDGE)
        inset += kClientEdge;
    else if (exStyle & WS_EX_STATICEDGE)
        inset += kThinEdge;
    return inset;
}

}  // namespace vellumry::units
