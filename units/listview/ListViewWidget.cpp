#include "units/listview/ListViewWidget.h"

#include <QHeaderView>
#include <QPainter>

namespace vellumry::units {

ListViewWidget::ListViewWidget(CListViewUnit& unit, QWidget* parent) : ListViewItemView<QTreeView>(unit, parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
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

}  // namespace vellumry::units
