#include "units/listview/ListViewCommands.h"

#include <cstring>
#include <string>

#include "units/common/UnitCommandCall.h"

namespace vellumry::units {
namespace {

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
    OnUnitLater<CListViewUnit>(count, arguments, [=, text = std::move(text)](CListViewUnit& unit) {
        unit.SetCell(field, row, column, number, text);
    });
}

TypedValue GetCellField(CellField field, std::int32_t count, const TypedValue* arguments)
{
    std::int32_t row = IntArgument(count, arguments, 1).value_or(-1);
    std::int32_t column = IntArgument(count, arguments, 2).value_or(0);
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
    *result = TypedValue::OfInt(
        OnUnit<CListViewUnit>(count, arguments, [](CListViewUnit& unit) { return unit.RowCount(); }));
}

void DeleteAllRowsCommand(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    OnUnitLater<CListViewUnit>(count, arguments, [](CListViewUnit& unit) { unit.DeleteAllRows(); });
}

void EnsureRowVisibleCommand(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    std::int32_t row = IntArgument(count, arguments, 1).value_or(-1);
    OnUnitLater<CListViewUnit>(count, arguments, [row](CListViewUnit& unit) { unit.EnsureRowVisible(row); });
}

}  // namespace vellumry::units
