#pragma once

// The extended-UI library's command routines: the report list's six
// commands and the status bar's SetPartText, put into the library's slots
// (runtime/ExtendedUiCommandSlots.h). Part of start-up wiring.

namespace vellumry::units {

void InstallExtendedUiCommands();

}  // namespace vellumry::units
