#pragma once

// Draws a report list's cells as the item delegate does, with the
// underlines of hot tracking: the text of the hot row (the row under the
// mouse) underlined when `hot` is on, the text of every other row when
// `cold` is on. Window thread only.

#include <QStyledItemDelegate>

namespace vellumry::units {

struct HotUnderlines {
    bool tracking = false;
    bool hot = false;
    bool cold = false;
};

class ListViewDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetUnderlines(HotUnderlines underlines) { m_underlines = underlines; }
    // Whether the text of `row` is underlined while `hotRow` is hot.
    bool Underlined(int row, int hotRow) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    HotUnderlines m_underlines;
};

}  // namespace vellumry::units
