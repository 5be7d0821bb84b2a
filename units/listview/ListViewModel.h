#pragma once

// The Qt face of a report list's rows: a table model over the rows the
// window thread and the workers share (SharedListRows.h), read by the view
// only for the rows it shows.
//
// The view catches up with the rows in batches: the rows have every change
// at once (counts and texts answer at once), the view learns of appended
// rows, changed cells and the last row asked to be made visible when the
// batch timer fires. A worker appending rows or writing cells one call at a
// time thus costs the view one layout per batch, not one per call, and the
// window thread one wake-up per batch. Rows inserted before the end on the
// window thread are told to the view at once, keeping its selection; rows a
// worker inserted before the end or removed make the view start afresh when
// it catches up. Window thread only.

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
#include "units/listview/SharedListRows.h"

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
    // The rows are shared with the unit, which may go before the view, and
    // with the workers.
    ListViewModel(std::shared_ptr<SharedListRows> rows, QObject* parent);

    // New columns and flags: the view starts afresh.
    void SetLook(ListViewLook look);
    void SetColours(QColor text, QColor textBack);
    // The images rows, state images and column headers show.
    void SetImages(ListViewImages images);
    const ListViewImages& Images() const { return m_images; }
    const ListViewLook& Look() const { return m_look; }

    // Inserts a row on the window thread; answers where it went.
    std::int32_t InsertRow(const NewRow& request);
    // The rows changed: the view catches up with the next batch.
    void Schedule();
    void EverythingChanged();
    // Empties the rows and the view.
    void Clear();
    // Catches up now.
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
    // Tells the view of `changes` and of the rows it has not seen yet.
    void CatchUp(const ViewChanges& changes, std::int32_t rows);

    std::shared_ptr<SharedListRows> m_rows;
    ListViewLook m_look;
    ListViewImages m_images;
    std::int32_t m_published = 0;
    QTimer m_batch;
};

}  // namespace vellumry::units
