#pragma once

// The numbering of the extended-UI library's seven command slots
// (CommandTables.h): the report list's six commands and the status bar's
// one. The units fill them during start-up wiring.

#include <cstddef>
#include <cstdint>

#include "runtime/LibraryCommand.h"
#include "runtime/base/CommandTables.h"

namespace vellumry::runtime {

enum class ExtendedUiCommand : std::int32_t {
    InsertRow,
    SetCellText,
    GetCellText,
    GetRowCount,
    DeleteAllRows,
    EnsureRowVisible,
    SetPartText,

    Count
};

static_assert(static_cast<std::int32_t>(ExtendedUiCommand::Count) == kExtendedUiCommandCount,
              "every extended-UI library slot has a name");

inline LibraryCommand& ExtendedUiCommandSlot(ExtendedUiCommand command)
{
    return ExtendedUiCommandSlots()[static_cast<std::size_t>(command)];
}

}  // namespace vellumry::runtime
