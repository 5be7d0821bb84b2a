#pragma once

// Driving the start window from code instead of by hand: pressing its
// buttons, reading the status bar's first part, and letting the window run
// until the workers the buttons started have ended. For the batch mode and
// the end-to-end tests, which work the real window through its real handlers.
//
// Window thread only, while the start form is loaded.

#include <chrono>
#include <string>

#include "forms/description/Identifiers.h"

namespace vellumry::app {

// Clicks a button of the start form as a person would (BM_CLICK to its
// window): its Clicked event runs the bound handler before this returns. A
// disabled button does nothing. False when the form has no such window.
bool PressButton(forms::UnitId button);

// The text of the first part of 状态条1 (GBK); empty when the bar is gone.
std::string StatusText();

// Handles what waits for the window thread (the workers' queued calls
// among it), without waiting for more.
void PumpWindow();

// Keeps the window running until no worker thread is alive or `limit` has
// passed; true when every worker has ended.
bool RunUntilWorkersEnd(std::chrono::milliseconds limit);

}  // namespace vellumry::app
