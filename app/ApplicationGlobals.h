#pragma once

// The application's global values. They live for the whole run; the exit
// routine the program entry registers frees the texts among them.

#include <cstdint>

#include "runtime/Values.h"

namespace vellumry::app {

struct ApplicationGlobals {
    std::int32_t parseThread = 0;     // handle of the last parse worker, 0 before the first
    std::int32_t downloadThread = 0;  // handle of the last download worker
    runtime::TextValue chosenFolder = nullptr;
    runtime::TextValue browseInitialFolder = nullptr;
};

ApplicationGlobals& Globals();

// The exit routine: frees the global texts.
void ReleaseGlobals(std::int32_t position);

}  // namespace vellumry::app
