#pragma once

// The widget of a report list: a tree view showing a flat table, with grid
// lines drawn on request, and the user's clicks and label edits handed to
// its unit, which raises the events. Window thread only.

#include <QTreeView>

namespace vellumry::units {

class CListViewUnit;

class ListViewWidget : public QTreeView {
public:
    ListViewWidget(CListViewUnit& unit, QWidget* parent);
    // The unit goes before the widget; the widget then tells nobody.
    void ForgetUnit() { m_unit = nullptr; }
    void SetGridLines(bool on);
    bool EditingLabel() const { return state() == QAbstractItemView::EditingState; }

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    CListViewUnit* m_unit;
    bool m_gridLines = false;
    // The row being edited, and whether its new text was offered yet.
    int m_editedRow = -1;
    bool m_editOffered = false;
};

}  // namespace vellumry::units
