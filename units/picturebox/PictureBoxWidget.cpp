#include "units/picturebox/PictureBoxWidget.h"

#include <QPainter>

#include "units/picturebox/PictureBoxUnit.h"

namespace vellumry::units {

PictureBoxWidget::PictureBoxWidget(CPicBoxUnit& unit, QWidget* parent) : QWidget(parent), m_unit(&unit)
{
    // The class brush is the null brush: the unit paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBoxWidget::paintEvent(QPaintEvent*)
{
    if (!m_unit)
        return;
    QPainter painter(this);
    m_unit->Paint(painter);
}

}  // namespace vellumry::units
