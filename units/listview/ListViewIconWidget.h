#pragma once

// The icon, small-icon and list views of a report list: the rows' first
// cells only, with their images, laid out as the view type says (large
// icons with their labels beneath, small icons in rows, or a list flowing
// down in columns). Window thread only.

#include <QListView>

#include "units/listview/ListViewItemView.h"

namespace vellumry::units {

struct ListViewProperties;

class ListViewIconWidget : public ListViewItemView<QListView> {
public:
    ListViewIconWidget(CListViewUnit& unit, QWidget* parent);
    // Lays the rows out for view type 0, 1 or 2 with the icon alignment,
    // arrangement and label wrapping of the record.
    void ApplyLayout(const ListViewProperties& properties);
};

}  // namespace vellumry::units
