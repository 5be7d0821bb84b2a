#include "units/listview/ListViewCommands.h"

#include <cstring>
#include <string>

#include "platform/kernel/FileCommitGuard.h"
#include "units/common/UnitCommandCall.h"
#include "units/listview/ListRowsDirectory.h"

namespace vellumry::units {
namespace {

// A worker's call on a list unit that exists: its rows, which the call acts
// on at once, without waiting for the window thread. Null on the window
// thread and for a unit the directory does not know, whose calls go the
// window thread's way.
struct WorkerRows {
    std::shared_ptr<SharedListRows> rows;
    forms::FormId formId = 0;
    forms::UnitId unitId = 0;

    explicit operator bool() const { return rows != nullptr; }
};

WorkerRows RowsForWorker(std::int32_t count, const TypedValue* arguments)
{
    if (count < 1 || ui::OnWindowThread())
        return {};
    WorkerRows found{nullptr, arguments[0].low, arguments[0].high};
    found.rows = FindListRows(found.formId, found.unitId);
    return found;
}

// A worker's read; a worker told to stop unwinds instead (or, already
// unwinding, gets the default result).
template <typename Read>
auto ReadRows(const WorkerRows& found, Read read)
{
    using Result = std::invoke_result_t<Read&, SharedListRows&>;
    if (!ui::MayCallWindow())
        return Result{};
    return read(*found.rows);
}

// A worker's change, made under the worker's commit lock, which its stop
// takes to set the stop mark: the change lands wholly before the stop
// returns or not at all. The unit then hears of it, unless a notice is on
// its way already; the notice goes whatever becomes of the worker, since the
// change has been made.
template <typename Change>
auto ChangeRows(const WorkerRows& found, Change change)
{
    using Result = std::invoke_result_t<Change&, SharedListRows&>;
    std::optional<Result> result;
    {
        kernel::FileCommitGuard commit;
        if (commit.MayCommit())
            result.emplace(change(*found.rows));
    }
    if (!result) {
        ui::MayCallWindow();  // unwinds the stopped worker
        return Result{};
    }
    if (found.rows->Announce()) {
        ui::PostNoticeToWindowThread([formId = found.formId, unitId = found.unitId] {
            if (auto* unit = dynamic_cast<CListViewUnit*>(host::ResolveUnit(formId, unitId)))
                unit->ViewNotice();
        });
    }
    return *result;
}

// A text result in memory from the runtime (HostNotify 2024), which the
// caller frees; the empty text is the null text.
TypedValue TextResult(const std::string& text)
{
    if (text.empty())
        return TypedValue::OfPointer(runtime::kTextType, nullptr);
    auto* copy = static_cast<char*>(host::Allocate(static_cast<std::int32_t>(text.size() + 1)));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return TypedValue::OfPointer(runtime::kTextType, copy);
}

}  // namespace

void InsertRowCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    NewRow row;
    row.position = IntArgument(count, arguments, 1);
    row.text = TextArgument(count, arguments, 2);
    row.image = IntArgument(count, arguments, 3);
    row.stateImage = IntArgument(count, arguments, 4);
    row.indent = IntArgument(count, arguments, 5);
    row.itemData = IntArgument(count, arguments, 6);
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        *result = TypedValue::OfInt(ChangeRows(found, [&](SharedListRows& rows) { return rows.InsertRow(row); }));
        return;
    }
    *result = TypedValue::OfInt(
        OnUnit<CListViewUnit>(count, arguments, [&](CListViewUnit& unit) { return unit.InsertRow(row); }));
}

void SetCellField(CellField field, std::int32_t count, const TypedValue* arguments)
{
    std::int32_t row = IntArgument(count, arguments, 1).value_or(-1);
    std::int32_t column = IntArgument(count, arguments, 2).value_or(0);
    std::int32_t number = 0;
    std::string text;
    if (field == CellField::Text)
        text = TextArgument(count, arguments, 3);
    else
        number = IntArgument(count, arguments, 3).value_or(0);
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        ChangeRows(found, [&](SharedListRows& rows) { return rows.SetCell(field, row, column, number, text); });
        return;
    }
    OnUnitLater<CListViewUnit>(count, arguments, [=, text = std::move(text)](CListViewUnit& unit) {
        unit.SetCell(field, row, column, number, text);
    });
}

TypedValue GetCellField(CellField field, std::int32_t count, const TypedValue* arguments)
{
    std::int32_t row = IntArgument(count, arguments, 1).value_or(-1);
    std::int32_t column = IntArgument(count, arguments, 2).value_or(0);
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        if (field == CellField::Text)
            return TextResult(ReadRows(found, [&](SharedListRows& rows) {
                return rows.CellText(row, column).value_or(std::string());
            }));
        return TypedValue::OfInt(ReadRows(found, [&](SharedListRows& rows) {
            return rows.CellNumber(field, row, column).value_or(0);
        }));
    }
    if (field == CellField::Text) {
        std::string text = OnUnit<CListViewUnit>(count, arguments, [&](CListViewUnit& unit) {
            return unit.CellText(row, column).value_or(std::string());
        });
        return TextResult(text);
    }
    return TypedValue::OfInt(OnUnit<CListViewUnit>(count, arguments, [&](CListViewUnit& unit) {
        return unit.CellNumber(field, row, column).value_or(0);
    }));
}

void SetCellTextCommand(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    SetCellField(CellField::Text, count, arguments);
}

void GetCellTextCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = GetCellField(CellField::Text, count, arguments);
}

void GetRowCountCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        *result = TypedValue::OfInt(ReadRows(found, [](SharedListRows& rows) { return rows.Count(); }));
        return;
    }
    *result = TypedValue::OfInt(
        OnUnit<CListViewUnit>(count, arguments, [](CListViewUnit& unit) { return unit.RowCount(); }));
}

void DeleteAllRowsCommand(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        ChangeRows(found, [](SharedListRows& rows) {
            rows.Clear();
            return true;
        });
        return;
    }
    OnUnitLater<CListViewUnit>(count, arguments, [](CListViewUnit& unit) { unit.DeleteAllRows(); });
}

void EnsureRowVisibleCommand(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    std::int32_t row = IntArgument(count, arguments, 1).value_or(-1);
    if (WorkerRows found = RowsForWorker(count, arguments)) {
        ChangeRows(found, [row](SharedListRows& rows) { return rows.RequestVisible(row); });
        return;
    }
    OnUnitLater<CListViewUnit>(count, arguments, [row](CListViewUnit& unit) { unit.EnsureRowVisible(row); });
}

}  // namespace vellumry::units
