#pragma once

// The Qt objects behind cursor and icon handles, for units that draw with Qt.
// A Qt-facing header: see WidgetWindows.h for who may include it.

#include <QCursor>
#include <QIcon>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

// The cursor of a handle; the arrow for null or an unknown handle.
QCursor CursorOf(HCURSOR cursor);
// The icon of a handle; an empty icon for null or an unknown handle.
QIcon IconOf(HICON icon);
// A new icon handle for a Qt icon.
HICON MakeIconHandle(const QIcon& icon);

}  // namespace vellumry::ui
