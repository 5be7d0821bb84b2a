#pragma once

// The report view of a report list: a tree view showing a flat table under
// its column header, with grid lines drawn on request. Window thread only.

#include <QTreeView>

#include "units/listview/ListViewItemView.h"

namespace vellumry::units {

class ListViewWidget : public ListViewItemView<QTreeView> {
public:
    ListViewWidget(CListViewUnit& unit, QWidget* parent);
    void SetGridLines(bool on);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool m_gridLines = false;
};

}  // namespace vellumry::units
