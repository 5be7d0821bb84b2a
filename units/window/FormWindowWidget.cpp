#include "units/window/FormWindowWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "units/window/WindowUnit.h"

namespace vellumry::units {

FormWindowWidget::FormWindowWidget(CWinFormUnit& unit, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_unit(&unit)
{
    // Everything is painted here; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormWindowWidget::paintEvent(QPaintEvent* event)
{
    if (!m_unit)
        return;
    QPainter painter(this);
    m_unit->PaintBackground(painter, event->region());
}

}  // namespace vellumry::units
