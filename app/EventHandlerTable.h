#pragma once

// The application's handler list, in the order of forms/Handlers.def, which
// the window template's bindings name by position.

#include <span>

#include "forms/engine/EventDispatch.h"

namespace vellumry::app {

std::span<const forms::EventHandler> EventHandlerTable();

}  // namespace vellumry::app
