#pragma once

// The report list's library commands. Argument 0 is the unit; rows and
// columns count from 0; an optional argument left out takes its default.
//   InsertRow (position, text, image, state image, indent, item data; all
//     optional) -> the new row's index
//   SetCellText (row, column = 0, text = empty)
//   GetCellText (row, column = 0) -> the text; null when empty or when the
//     cell does not exist
//   GetRowCount -> the number of rows
//   DeleteAllRows
//   EnsureRowVisible (row)
// The text commands are the text members of two accessors that take a
// field selector (SetCellField, GetCellField: 0 text, 1 image, 2 check
// state, 3 indent, 4 item data).
//
// Any thread: each call is one whole operation. On the window thread it acts
// on the unit; a worker's call on a list unit that exists acts on the list's
// shared rows at once (SharedListRows.h), without waiting for the window
// thread; any other call is carried to the window thread (UnitCommandCall.h).

#include <cstdint>

#include "runtime/TypedValue.h"
#include "units/listview/ListViewUnit.h"

namespace vellumry::units {

using runtime::TypedValue;

void InsertRowCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void SetCellTextCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void GetCellTextCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void GetRowCountCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void DeleteAllRowsCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void EnsureRowVisibleCommand(TypedValue* result, std::int32_t count, const TypedValue* arguments);

// The accessors: arguments (unit, row, column = 0, value).
void SetCellField(CellField field, std::int32_t count, const TypedValue* arguments);
TypedValue GetCellField(CellField field, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::units
