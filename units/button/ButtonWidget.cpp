#include "units/button/ButtonWidget.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include "units/button/ButtonUnit.h"

namespace vellumry::units {

ButtonWidget::ButtonWidget(CButtonUnit& unit, QWidget* parent) : QPushButton(parent), m_unit(&unit)
{
    // Enter is the window's to handle (its default button), not the button's.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (m_unit)
            m_unit->OnClicked();  // may destroy the unit: nothing follows here
    });
}

void ButtonWidget::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    if (m_unit && m_unit->IsDefaultButton())
        option.features |= QStyleOptionButton::DefaultButton;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    if (m_unit)
        m_unit->PaintFace(painter, style()->subElementRect(QStyle::SE_PushButtonContents, &option, this),
                          option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                               QPalette::ButtonText));
}

}  // namespace vellumry::units
