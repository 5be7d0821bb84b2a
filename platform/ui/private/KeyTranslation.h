#pragma once

#include <QKeyEvent>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

// The virtual-key code of a Qt key event, or 0 for keys without one here.
WPARAM VirtualKeyOf(const QKeyEvent& event);

}  // namespace vellumry::ui
