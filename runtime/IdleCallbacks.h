#pragma once

// Idle callbacks: (window, routine, argument) triples that the message loop
// runs, last registered first, whenever it is idle. At most one per window;
// callbacks whose window is gone are dropped. Window thread only.

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace vellumry::ui {
class UiApplication;
}

namespace vellumry::runtime {

using IdleRoutine = void (*)(std::intptr_t argument);

// Adds a callback unless the window already has one.
void AddIdleCallback(HWND window, IdleRoutine routine, std::intptr_t argument);
void RemoveIdleCallback(HWND window);
void ClearIdleCallbacks();
// Runs every callback whose window still exists, dropping the others.
void RunIdleCallbacks();

// One idle step of a message loop, the main one or a modal one: the
// callbacks, then the application's idle processing. True asks for more.
bool IdleStep(ui::UiApplication& app, long count);

}  // namespace vellumry::runtime
