#pragma once

// The report list unit: a list of rows with cells under titled columns,
// shown by a Qt model/view pair over plain row data (SharedListRows.h,
// ListViewModel.h), so that rows cost memory, not widgets, and the view is
// told of appended rows in batches.
//
// The unit keeps its property record up to date with every write; a change
// that needs a new window answers 1 and the form engine re-creates the unit
// from the saved record (rows added since are lost, the stored rows come
// back). It raises its events through the units' host: -7/-8 focus, 0 row
// focused, 1 row activated, 2 column clicked, 3 row hot-tracked, 4 clicked,
// 5 right-clicked, 6 label edit starting, 7 label edit ended, 8 check
// changed. A handler may destroy the unit's window; the unit then touches
// nothing of itself afterwards.
//
// Window thread only. The rows are shared: the library commands called on a
// worker act on them directly (ListViewCommands.h) and send the unit a
// notice (ViewNotice) when its view has changes to catch up with.

#include <QAbstractItemView>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/common/UnitHost.h"
#include "units/listview/ListViewProperties.h"
#include "units/listview/SharedListRows.h"

namespace vellumry::units {

class ListViewDelegate;
class ListViewHooks;
class ListViewIconWidget;
class ListViewModel;
class ListViewWidget;

class CListViewUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CListViewUnit* Create(const CreateArguments& arguments);
    ~CListViewUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    // The commands.
    std::int32_t InsertRow(const NewRow& row);
    // False when the row or column does not exist.
    bool SetCell(CellField field, std::int32_t row, std::int32_t column, std::int32_t number, std::string_view text);
    std::optional<std::string> CellText(std::int32_t row, std::int32_t column) const;
    std::optional<std::int32_t> CellNumber(CellField field, std::int32_t row, std::int32_t column) const;
    std::int32_t RowCount() const { return m_rows->Count(); }
    void DeleteAllRows();
    void EnsureRowVisible(std::int32_t row);

    // Tells the view now what it would learn with the next batch.
    void FlushView();
    // A worker changed the rows: the view catches up with the next batch.
    void ViewNotice();

    void PostNcDestroy() override;

    const ListViewProperties& Properties() const { return m_properties; }
    DWORD ListViewExStyle() const { return m_exStyle; }
    // The report view's table; null in the other views.
    ListViewWidget* Widget() const;
    // The view of any view type.
    QAbstractItemView* View() const;
    ListViewDelegate* Delegate() const { return m_delegate; }
    const std::string& EditedText() const { return m_editedText; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // From the widget: a click ended; a label edit starts (false cancels
    // it); a label edit ended with `text`, or was given up (false rejects
    // the text).
    void Clicked(bool right);
    bool LabelEditStarting(std::int32_t row);
    bool LabelEditEnded(std::int32_t row, const QString& text, bool abandoned);

    // Posted with the row when its check box was toggled.
    static constexpr UINT kMessageCheckToggled = WM_USER + 1;

private:
    explicit CListViewUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);
    void ConnectEvents();
    void ApplyLook();
    void ApplyColours();
    void ApplyFont();
    void ApplyHotTracking();
    // Builds the image lists from their blobs and hands them to the view.
    void ApplyImages();
    void LoadStoredRows();
    void SelectCurrentRow(std::int32_t row);
    std::int32_t FirstSelectedRow() const;
    // Raises an event; nullopt when the unit went during the handler.
    std::optional<host::RaisedEvent> Raise(std::int32_t event, std::initializer_list<std::int32_t> arguments = {});

    ListViewProperties m_properties;
    std::shared_ptr<SharedListRows> m_rows = std::make_shared<SharedListRows>();
    ListViewModel* m_model = nullptr;  // owned by the widget
    QPointer<QAbstractItemView> m_view;
    ListViewHooks* m_hooks = nullptr;         // the view's, while m_view lives
    ListViewWidget* m_widget = nullptr;       // the view, in the report view
    ListViewIconWidget* m_icons = nullptr;    // the view, in the other views
    ListViewDelegate* m_delegate = nullptr;   // owned by the view
    bool m_creationFlag = false;
    DWORD m_exStyle = 0;
    std::string m_editedText;
    std::int32_t m_focusedRow = -1;
    std::vector<QMetaObject::Connection> m_connections;
    // Cleared when the unit goes, for code that raised an event to find out.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace vellumry::units
