#pragma once

// The Qt face of a report list's rows: a table model over the row store
// (ListViewRowStore.h), read by the view only for the rows it shows.
//
// Rows appended at the end are told to the view in batches: the store has
// them at once (counts and texts answer at once), the view learns of them
// when the batch timer fires, together with the cells changed meanwhile and
// the last row asked to be made visible. A worker appending rows one call at
// a time thus costs the view one layout per batch, not one per row. Every
// other change (an insertion before the end, emptying the list) first
// delivers the batch and is then told at once. Window thread only.

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewImages.h"
#include "units/listview/ListViewRowStore.h"

namespace vellumry::units {

struct ListViewLook {
    std::vector<ListViewColumn> columns;
    bool checkBoxes = false;
    bool editLabels = false;
    QColor textColour;
    QColor textBackColour;
};

class ListViewModel : public QAbstractTableModel {
public:
    // The store is shared with the unit, which may go before the view.
    ListViewModel(std::shared_ptr<ListViewRowStore> store, QObject* parent);

    // New columns and flags: the view starts afresh.
    void SetLook(ListViewLook look);
    void SetColours(QColor text, QColor textBack);
    // The images rows, state images and column headers show.
    void SetImages(ListViewImages images);
    const ListViewImages& Images() const { return m_images; }
    const ListViewLook& Look() const { return m_look; }

    // Called after the store changed.
    void RowInserted(std::int32_t row);
    void CellsChanged(std::int32_t row);
    void EverythingChanged();
    // Empties the store and the view.
    void Clear();
    // Makes `row` visible with the next batch.
    void RequestVisible(std::int32_t row);
    // Delivers the batch now.
    void Flush();
    // Rows the view knows of.
    std::int32_t PublishedRows() const { return m_published; }

    // Told when the user toggles a check box, with the row.
    std::function<void(std::int32_t row)> onCheckToggled;
    // Told after a batch with the row to make visible.
    std::function<void(std::int32_t row)> onMakeVisible;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // How long changes gather before the view is told.
    static constexpr int kBatchMilliseconds = 20;

private:
    void Schedule();
    // Tells the view of the rows up to `rows`, the changed cells and the row
    // to make visible.
    void Flush(std::int32_t rows);

    std::shared_ptr<ListViewRowStore> m_keep;
    ListViewRowStore& m_store;
    ListViewLook m_look;
    ListViewImages m_images;
    std::int32_t m_published = 0;
    // Changed rows of the batch, as a range; empty when first > last.
    std::int32_t m_firstChanged = 1;
    std::int32_t m_lastChanged = 0;
    std::int32_t m_makeVisible = -1;
    QTimer m_batch;
};

}  // namespace vellumry::units
