#pragma once

// The window styles of a form window, computed from its stored settings. Pure
// functions: the window unit applies their results to its window.

#include <cstdint>

#include "platform/ui/WinUser.h"

namespace vellumry::units {

struct WindowStyleSettings {
    std::int32_t border = 2;         // 0 none .. 6
    bool hasCaptionText = false;
    bool controlBox = true;
    bool maxButton = false;
    bool minButton = true;
    std::int32_t startPosition = 1;  // 0 as stored, 1 centred, 2 minimised, 3 maximised
    bool showInTaskbar = true;
};

struct WindowPlacementRequest {
    DWORD baseStyle = 0;
    bool embedded = false;  // a child of another window
    bool hasParent = false;
    RECT rect{};            // left, top, right, bottom as requested
    int screenWidth = 0;
    int screenHeight = 0;
    bool hiddenOwnerExists = false;
    bool ownAllByHiddenOwner = false;  // the runtime-wide switch
};

struct WindowCreation {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    bool ownedByHiddenOwner = false;
};

// The styles, rectangle and owner rule for creating a form window.
WindowCreation ComputeWindowCreation(const WindowStyleSettings& settings, const WindowPlacementRequest& request);

// The caption-related bits (WS_CAPTION, WS_SYSMENU, WS_MAXIMIZEBOX,
// WS_MINIMIZEBOX and, with a border, WS_DLGFRAME) for the current settings.
DWORD CaptionStyleBits(const WindowStyleSettings& settings);

// The window's style after recomputing the caption bits: the bits of the set
// WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX are replaced by the
// computed ones. `changed` tells whether a frame redraw is due.
DWORD WithCaptionBits(DWORD currentStyle, const WindowStyleSettings& settings, bool* changed);

}  // namespace vellumry::units
