#include "units/ExtendedUiCommands.h"

#include "runtime/ExtendedUiCommandSlots.h"
#include "units/listview/ListViewCommands.h"
#include "units/statusbar/StatusBarCommands.h"

namespace vellumry::units {

void InstallExtendedUiCommands()
{
    using runtime::ExtendedUiCommand;
    using runtime::ExtendedUiCommandSlot;
    ExtendedUiCommandSlot(ExtendedUiCommand::InsertRow) = InsertRowCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::SetCellText) = SetCellTextCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::GetCellText) = GetCellTextCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::GetRowCount) = GetRowCountCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::DeleteAllRows) = DeleteAllRowsCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::EnsureRowVisible) = EnsureRowVisibleCommand;
    ExtendedUiCommandSlot(ExtendedUiCommand::SetPartText) = SetPartTextCommand;
}

}  // namespace vellumry::units
