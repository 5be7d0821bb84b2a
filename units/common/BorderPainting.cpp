#include "units/common/BorderPainting.h"

#include <QColor>
#include <QPainter>

namespace vellumry::units {
namespace {

// The bevel colours of the classic scheme around the button face.
const QColor kLight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0xA0, 0xA0, 0xA0);
const QColor kDarkShadow(0x69, 0x69, 0x69);

QColor ButtonFace()
{
    DWORD value = GetSysColor(COLOR_BTNFACE);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// One ring of a bevel: `topLeft` along the top and left, `bottomRight` along
// the bottom and right; returns the rectangle inside it.
QRect Ring(QPainter& painter, QRect rect, QColor topLeft, QColor bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return rect;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    return rect.adjusted(1, 1, -1, -1);
}

}  // namespace

void PaintBorder(QPainter& painter, QSize size, DWORD style, DWORD exStyle)
{
    QRect rect(QPoint(0, 0), size);
    QColor face = ButtonFace();
    QColor light = kLight;
    QColor shadow = kShadow;
    QColor dark = kDarkShadow;
    if (exStyle & WS_EX_DLGMODALFRAME) {
        rect = Ring(painter, rect, face, dark);
        rect = Ring(painter, rect, light, shadow);
        rect = Ring(painter, rect, face, face);
    } else if (style & WS_BORDER) {
        rect = Ring(painter, rect, dark, dark);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        rect = Ring(painter, rect, shadow, light);
        rect = Ring(painter, rect, dark, face);
    } else if (exStyle & WS_EX_STATICEDGE) {
        Ring(painter, rect, shadow, light);
    }
}

}  // namespace vellumry::units
