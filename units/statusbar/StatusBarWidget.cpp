#include "units/statusbar/StatusBarWidget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "platform/codepage/CodePage.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::units {

StatusBarWidget::StatusBarWidget(CStatusBarUnit& unit, QWidget* parent) : QWidget(parent), m_unit(&unit)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (parent)
        parent->installEventFilter(this);
}

bool StatusBarWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parentWidget() && m_unit)
        m_unit->AlignToParent();
    return QWidget::eventFilter(watched, event);
}

void StatusBarWidget::paintEvent(QPaintEvent*)
{
    if (!m_unit)
        return;
    QPainter painter(this);
    m_unit->Paint(painter);
}

bool StatusBarWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_unit) {
        auto* help = static_cast<QHelpEvent*>(event);
        std::int32_t part = m_unit->PartAt(help->pos().x());
        if (part >= 0 && !m_unit->Parts()[static_cast<std::size_t>(part)].TipText.empty()) {
            std::u16string tip = codepage::GbkToUtf16(m_unit->Parts()[static_cast<std::size_t>(part)].TipText);
            QToolTip::showText(help->globalPos(), QString::fromUtf16(tip.data(), static_cast<qsizetype>(tip.size())),
                               this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace vellumry::units
