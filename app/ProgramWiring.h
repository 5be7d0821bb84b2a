#pragma once

// Connects the program's parts before the runtime starts: the program
// description, the core commands, the kernel exports, the form engine, the
// unit types, the support libraries' notify routines, the program icon and
// the application's event handlers and the music service.

namespace vellumry::app {

void WireProgram();

}  // namespace vellumry::app
