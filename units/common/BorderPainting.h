#pragma once

// Draws the border styles of units/common/BorderStyle.h inside a child
// window, which has no frame of its own here: a client edge as a sunken
// two-pixel bevel, a dialog frame as a raised three-pixel one, a static edge
// and a plain border as one-pixel lines. Window thread only.

#include <QSize>

#include "platform/ui/WinUser.h"

class QPainter;

namespace vellumry::units {

void PaintBorder(QPainter& painter, QSize size, DWORD style, DWORD exStyle);

}  // namespace vellumry::units
