#include "units/editbox/EditBoxWidgets.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

#include "units/editbox/EditBoxUnit.h"

namespace vellumry::units {

EditBoxFrame::EditBoxFrame(CEditBoxUnit& unit, QWidget* parent) : QWidget(parent), m_unit(&unit)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EditBoxFrame::paintEvent(QPaintEvent*)
{
    if (!m_unit)
        return;
    QPainter painter(this);
    m_unit->PaintFrame(painter);
}

void EditBoxFrame::resizeEvent(QResizeEvent*)
{
    if (m_unit)
        m_unit->LayOut();
}

bool EditorHooks::Filter(QKeyEvent& event, QString& text) const
{
    text = event.text();
    return !m_unit || m_unit->FilterTyped(text);
}

void EditorHooks::TextChanged()
{
    if (m_unit)
        m_unit->OnTextChanged();  // may destroy the unit: nothing follows here
}

void EditorHooks::FocusIn(const QFocusEvent& event)
{
    // A closing pop-up menu hands the focus back; the box never lost it.
    if (m_unit && event.reason() != Qt::PopupFocusReason)
        m_unit->OnFocusIn();
}

void EditorHooks::FocusOut(const QFocusEvent& event)
{
    if (m_unit && event.reason() != Qt::PopupFocusReason)
        m_unit->OnFocusOut();  // may destroy the unit: nothing follows here
}

void EditorHooks::ShowContextMenu(QMenu* created, QPoint at)
{
    // Without a parent the menu belongs to no window of the form, so its
    // keys (Esc above all) are the menu's alone.
    std::unique_ptr<QMenu> menu(created);
    menu->setParent(nullptr, Qt::Popup);
    menu->exec(at);
}

namespace {

// The key event with the text the box lets through.
std::unique_ptr<QKeyEvent> Retyped(const QKeyEvent& event, const QString& text)
{
    return std::make_unique<QKeyEvent>(event.type(), event.key(), event.modifiers(), text, event.isAutoRepeat(),
                                       static_cast<quint16>(event.count()));
}

}  // namespace

EditLine::EditLine(CEditBoxUnit& unit, QWidget* parent) : QLineEdit(parent), EditorHooks(unit)
{
    setFrame(false);
}

void EditLine::keyPressEvent(QKeyEvent* event)
{
    QString text;
    if (!Filter(*event, text)) {
        event->accept();  // refused, as a beep would
        return;
    }
    if (text == event->text())
        QLineEdit::keyPressEvent(event);
    else
        QLineEdit::keyPressEvent(Retyped(*event, text).get());
}

void EditLine::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    FocusIn(*event);
}

void EditLine::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    FocusOut(*event);
}

void EditLine::contextMenuEvent(QContextMenuEvent* event)
{
    ShowContextMenu(createStandardContextMenu(), event->globalPos());
}

EditArea::EditArea(CEditBoxUnit& unit, QWidget* parent) : QPlainTextEdit(parent), EditorHooks(unit)
{
    setFrameShape(QFrame::NoFrame);
}

void EditArea::keyPressEvent(QKeyEvent* event)
{
    QString text;
    if (!Filter(*event, text)) {
        event->accept();
        return;
    }
    if (text == event->text())
        QPlainTextEdit::keyPressEvent(event);
    else
        QPlainTextEdit::keyPressEvent(Retyped(*event, text).get());
}

void EditArea::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    FocusIn(*event);
}

void EditArea::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    FocusOut(*event);
}

void EditArea::contextMenuEvent(QContextMenuEvent* event)
{
    ShowContextMenu(createStandardContextMenu(event->pos()), event->globalPos());
}

UpDownControl::UpDownControl(CEditBoxUnit& unit, QWidget* parent)
    : QWidget(parent), m_unit(&unit), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [button, arrow, step] : {std::tuple{m_up, Qt::UpArrow, 1}, std::tuple{m_down, Qt::DownArrow, -1}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, step = step] {
            if (m_unit)
                m_unit->OnSpin(step);  // may destroy the unit: nothing follows here
        });
    }
}

}  // namespace vellumry::units
