#include "units/listview/ListViewDelegate.h"

#include "units/listview/ListViewItemView.h"

namespace vellumry::units {

bool ListViewDelegate::Underlined(int row, int hotRow) const
{
    if (!m_underlines.tracking)
        return false;
    return row == hotRow ? m_underlines.hot : m_underlines.cold;
}

void ListViewDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = dynamic_cast<const ListViewHooks*>(option->widget);
    if (Underlined(index.row(), view ? view->HotRow() : -1))
        option->font.setUnderline(true);
}

}  // namespace vellumry::units
