#pragma once

// The border styles shared by the units: 0 none, 1 WS_EX_CLIENTEDGE,
// 2 WS_EX_DLGMODALFRAME, 3 WS_EX_STATICEDGE, 4 WS_EX_CLIENTEDGE with
// WS_EX_DLGMODALFRAME, 5 WS_BORDER. Child windows have no frame of their
// own here, so a unit paints its border inside its window and lays out its
// contents within it. Qt-free; the window functions carry calls from other
// threads over.

#include <cstdint>

#include "platform/ui/WinUser.h"

namespace vellumry::units {

inline constexpr std::int32_t kHighestBorderStyle = 5;

struct BorderBits {
    DWORD style = 0;
    DWORD exStyle = 0;
};

// The bits of a style (clamped to 0..5).
BorderBits BorderBitsOf(std::int32_t borderStyle);

// Removes all four bits from the window's styles, adds the style's, and has
// the frame redrawn without moving, sizing, re-ordering or activating it.
void ApplyBorderStyle(HWND window, std::int32_t borderStyle);

// How far the border of windows with these styles reaches in from each edge.
int BorderInset(DWORD style, DWORD exStyle);

}  // namespace vellumry::units
