#include "units/listview/ListViewIconWidget.h"

#include "units/listview/ListViewProperties.h"
#include "units/listview/ListViewStyles.h"

namespace vellumry::units {
namespace {

constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
// The width a large icon's label may take.
constexpr int kLargeIconCell = 76;

}  // namespace

ListViewIconWidget::ListViewIconWidget(CListViewUnit& unit, QWidget* parent) : ListViewItemView<QListView>(unit, parent)
{
    setModelColumn(0);
    setUniformItemSizes(true);
}

void ListViewIconWidget::ApplyLayout(const ListViewProperties& p)
{
    std::int32_t view = ViewTypeOf(p);
    setMovement(QListView::Static);
    setWrapping(true);
    setResizeMode(p.AutoArrange || view == 2 ? QListView::Adjust : QListView::Fixed);
    if (view == 0) {
        setViewMode(QListView::IconMode);
        setIconSize(QSize(kLargeIcon, kLargeIcon));
        setWordWrap(p.LabelWrap != 0);
        setGridSize(QSize(kLargeIconCell, kLargeIcon + 2 * fontMetrics().height() + 8));
    } else {
        setViewMode(QListView::ListMode);
        setIconSize(QSize(kSmallIcon, kSmallIcon));
        setWordWrap(false);
        setGridSize(QSize());
    }
    // Icons aligned to the left fill columns from the top; otherwise rows
    // from the left. The list view always flows down in columns.
    bool alignedLeft = view != 2 && p.IconAlignment == 1;
    setFlow(view == 2 || alignedLeft ? QListView::TopToBottom : QListView::LeftToRight);
}

}  // namespace vellumry::units
