#pragma once

// Registers the window-manager stand-ins as exports of the built-in "user32"
// module, so DLL commands that name them resolve.

namespace vellumry::ui {

void RegisterUser32Exports();

}  // namespace vellumry::ui
