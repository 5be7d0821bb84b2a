#pragma once

// The rows of one report list as the window thread and worker threads share
// them. Each operation below is one whole operation under the rows' lock, so
// a worker can add rows, write and read cells without waiting for the window
// thread, and a reader never sees a half-written cell.
//
// The view (ListViewModel.h) is told of changes afterwards: every operation
// records what the view must catch up with (rows appended, cells changed, a
// row to make visible, or rows inserted before the end or removed, after
// which the view starts afresh), and the view takes that record when it
// next brings itself up to date (TakeViewChanges). A worker, after a change,
// sends the window thread a notice only when none is on its way yet
// (Announce): one notice per batch of changes instead of one per call.
//
// The lock is never held while anything waits for another thread or raises
// an event. Qt-free; any thread.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "units/listview/ListViewRowStore.h"

namespace vellumry::units {

// What the cell accessors read and write.
enum class CellField : std::int32_t { Text = 0, Image = 1, CheckState = 2, Indent = 3, ItemData = 4 };

struct NewRow {
    std::optional<std::int32_t> position;
    std::string text;
    std::optional<std::int32_t> image;
    std::optional<std::int32_t> stateImage;
    std::optional<std::int32_t> indent;
    std::optional<std::int32_t> itemData;
};

// What the view has not caught up with yet.
struct ViewChanges {
    // Rows were inserted before the end or removed: the view starts afresh.
    bool restart = false;
    // Rows whose cells changed, as a range; empty when first > last.
    std::int32_t firstChanged = 1;
    std::int32_t lastChanged = 0;
    std::int32_t makeVisible = -1;

    void Changed(std::int32_t row);
};

class SharedListRows {
public:
    // Locked access for code that reads or writes several things at once
    // (the view while it paints, the unit while it loads stored rows).
    class Access {
    public:
        explicit Access(SharedListRows& owner) : m_lock(owner.m_lock), m_owner(owner) {}
        ListViewRowStore& Rows() { return m_owner.m_rows; }
        ViewChanges& Changes() { return m_owner.m_changes; }

    private:
        std::unique_lock<std::recursive_mutex> m_lock;
        SharedListRows& m_owner;
    };
    Access Lock() { return Access(*this); }

    std::int32_t Count();
    // A list with check boxes starts every new row unchecked.
    void SetCheckBoxes(bool on);

    // Inserts the row and answers where it went.
    std::int32_t InsertRow(const NewRow& request);
    // False when the row or column does not exist.
    bool SetCell(CellField field, std::int32_t row, std::int32_t column, std::int32_t number, std::string_view text);
    std::optional<std::string> CellText(std::int32_t row, std::int32_t column);
    std::optional<std::int32_t> CellNumber(CellField field, std::int32_t row, std::int32_t column);
    // The state image index of a row's state bits (-1 for none); nullopt
    // when the row does not exist.
    std::optional<std::int32_t> StateImage(std::int32_t row);
    void Clear();
    // False when the row does not exist.
    bool RequestVisible(std::int32_t row);

    // The view's side: what changed since it last caught up; the next
    // change announces itself again.
    ViewChanges TakeViewChanges();
    // The worker's side, after a change: true when no notice is on its way
    // to the view yet, in which case the caller sends one.
    bool Announce();

private:
    std::recursive_mutex m_lock;
    ListViewRowStore m_rows;
    ViewChanges m_changes;
    bool m_announced = false;
    bool m_checkBoxes = false;
};

}  // namespace vellumry::units
