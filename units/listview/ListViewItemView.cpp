#include "units/listview/ListViewItemView.h"

#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeView>

#include <utility>

#include "units/listview/ListViewUnit.h"

namespace vellumry::units {

template <typename View>
ListViewItemView<View>::ListViewItemView(CListViewUnit& unit, QWidget* parent) : View(parent), m_unit(&unit)
{
    this->setSelectionBehavior(QAbstractItemView::SelectRows);
    this->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

template <typename View>
bool ListViewItemView<View>::EditingLabel() const
{
    return this->state() == QAbstractItemView::EditingState;
}

template <typename View>
void ListViewItemView<View>::SetHotRow(int row)
{
    if (row == m_hotRow)
        return;
    m_hotRow = row;
    this->viewport()->update();
}

template <typename View>
void ListViewItemView<View>::mouseMoveEvent(QMouseEvent* event)
{
    if (this->hasMouseTracking())
        SetHotRow(this->indexAt(event->position().toPoint()).row());
    View::mouseMoveEvent(event);
}

template <typename View>
bool ListViewItemView<View>::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        SetHotRow(-1);
    return View::viewportEvent(event);
}

template <typename View>
void ListViewItemView<View>::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<ListViewItemView> alive(this);
    Qt::MouseButton button = event->button();
    View::mouseReleaseEvent(event);
    if (alive && m_unit && (button == Qt::LeftButton || button == Qt::RightButton))
        m_unit->Clicked(button == Qt::RightButton);
}

template <typename View>
bool ListViewItemView<View>::edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event)
{
    bool wanted = index.isValid() && (index.flags() & Qt::ItemIsEditable) && (this->editTriggers() & trigger) &&
                  this->state() != QAbstractItemView::EditingState;
    if (!wanted || !m_unit)
        return View::edit(index, trigger, event);
    QPointer<ListViewItemView> alive(this);
    if (!m_unit->LabelEditStarting(index.row()) || !alive)
        return false;
    m_editedRow = index.row();
    m_editOffered = false;
    return View::edit(this->model()->index(index.row(), 0), trigger, event);
}

template <typename View>
void ListViewItemView<View>::commitData(QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!m_unit || m_editedRow < 0 || !line) {
        View::commitData(editor);
        return;
    }
    m_editOffered = true;
    QPointer<ListViewItemView> alive(this);
    bool accepted = m_unit->LabelEditEnded(m_editedRow, line->text(), false);
    if (alive && accepted)
        View::commitData(editor);
}

template <typename View>
void ListViewItemView<View>::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    int row = std::exchange(m_editedRow, -1);
    QPointer<ListViewItemView> alive(this);
    View::closeEditor(editor, hint);
    // An edit given up without a new text still ends, with the cell's text.
    if (alive && m_unit && row >= 0 && !m_editOffered)
        m_unit->LabelEditEnded(row, QString(), true);
    if (alive)
        m_editOffered = false;
}

template class ListViewItemView<QTreeView>;
template class ListViewItemView<QListView>;

}  // namespace vellumry::units
