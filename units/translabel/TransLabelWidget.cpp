#include "units/translabel/TransLabelWidget.h"

#include <QPainter>

#include "units/translabel/TransLabelUnit.h"

namespace vellumry::units {

TransLabelWidget::TransLabelWidget(CTransLabelUnit& unit, QWidget* parent) : QWidget(parent), m_unit(&unit)
{
    // Neither opaque nor filled: Qt composes the parent and the siblings
    // below under the label before the label paints its text.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TransLabelWidget::paintEvent(QPaintEvent*)
{
    if (!m_unit)
        return;
    QPainter painter(this);
    m_unit->Paint(painter);
}

}  // namespace vellumry::units
