#pragma once

// Repaints what lies behind a window that has no background of its own, and
// then the window itself: from the window up to its top-level window (or the
// first pop-up on the way), the window's rectangle there is erased and
// repainted at once, with every window below that meets it, and the window
// is then invalidated so that it paints over the fresh background. Window
// thread only.

#include "platform/ui/WinUser.h"

namespace vellumry::units {

void SeeThroughRepaint(HWND window);

}  // namespace vellumry::units
