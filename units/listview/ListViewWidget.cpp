#include "units/listview/ListViewWidget.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

#include "units/listview/ListViewUnit.h"

namespace vellumry::units {

ListViewWidget::ListViewWidget(CListViewUnit& unit, QWidget* parent) : QTreeView(parent), m_unit(&unit)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
}

void ListViewWidget::SetGridLines(bool on)
{
    m_gridLines = on;
    viewport()->update();
}

void ListViewWidget::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QTreeView::drawRow(painter, option, index);
    if (!m_gridLines)
        return;
    painter->save();
    painter->setPen(palette().color(QPalette::Mid));
    const QRect& r = option.rect;
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    for (int section = 0; section < header()->count(); ++section) {
        int x = header()->sectionViewportPosition(section) + header()->sectionSize(section) - 1;
        painter->drawLine(x, r.top(), x, r.bottom());
    }
    painter->restore();
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<ListViewWidget> alive(this);
    Qt::MouseButton button = event->button();
    QTreeView::mouseReleaseEvent(event);
    if (alive && m_unit && (button == Qt::LeftButton || button == Qt::RightButton))
        m_unit->Clicked(button == Qt::RightButton);
}

bool ListViewWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    bool wanted = index.isValid() && (index.flags() & Qt::ItemIsEditable) && (editTriggers() & trigger) &&
                  state() != QAbstractItemView::EditingState;
    if (!wanted || !m_unit)
        return QTreeView::edit(index, trigger, event);
    QPointer<ListViewWidget> alive(this);
    if (!m_unit->LabelEditStarting(index.row()) || !alive)
        return false;
    m_editedRow = index.row();
    m_editOffered = false;
    return QTreeView::edit(model()->index(index.row(), 0), trigger, event);
}

void ListViewWidget::commitData(QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!m_unit || m_editedRow < 0 || !line) {
        QTreeView::commitData(editor);
        return;
    }
    m_editOffered = true;
    QPointer<ListViewWidget> alive(this);
    bool accepted = m_unit->LabelEditEnded(m_editedRow, line->text(), false);
    if (alive && accepted)
        QTreeView::commitData(editor);
}

void ListViewWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    int row = std::exchange(m_editedRow, -1);
    QPointer<ListViewWidget> alive(this);
    QTreeView::closeEditor(editor, hint);
    // An edit given up without a new text still ends, with the cell's text.
    if (alive && m_unit && row >= 0 && !m_editOffered)
        m_unit->LabelEditEnded(row, QString(), true);
    if (alive)
        m_editOffered = false;
}

}  // namespace vellumry::units
