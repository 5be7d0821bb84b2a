#pragma once

// The application's program entry, which the runtime's initialise-instance
// step calls: it initialises the runtime, registers the exit routine, loads
// the start form, runs the message loop and returns 0.

namespace vellumry::app {

int ProgramEntry();

}  // namespace vellumry::app
