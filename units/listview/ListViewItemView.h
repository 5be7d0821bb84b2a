#pragma once

// What both faces of a report list share: the table of the report view
// (ListViewWidget.h) and the icon, small-icon and list views
// (ListViewIconWidget.h). Clicks and label edits go to the unit, which
// raises the events; the row under the mouse is the hot row that hot
// tracking draws. Window thread only.

#include <QAbstractItemDelegate>
#include <QAbstractItemView>

class QEvent;
class QMouseEvent;

namespace vellumry::units {

class CListViewUnit;

// The unit's side of either view.
class ListViewHooks {
public:
    virtual ~ListViewHooks() = default;
    // The unit goes before the view; the view then tells nobody.
    virtual void ForgetUnit() = 0;
    virtual bool EditingLabel() const = 0;
    // The row under the mouse, -1 for none.
    virtual int HotRow() const = 0;
};

template <typename View>
class ListViewItemView : public View, public ListViewHooks {
public:
    ListViewItemView(CListViewUnit& unit, QWidget* parent);
    void ForgetUnit() override { m_unit = nullptr; }
    bool EditingLabel() const override;
    int HotRow() const override { return m_hotRow; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void SetHotRow(int row);

    CListViewUnit* m_unit;
    int m_hotRow = -1;
    // The row being edited, and whether its new text was offered yet.
    int m_editedRow = -1;
    bool m_editOffered = false;
};

}  // namespace vellumry::units
