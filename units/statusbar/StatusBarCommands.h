#pragma once

// The status bar's library command: SetPartText (unit, part index, text
// optional: left out is the empty text). Any thread (UnitCommandCall.h).

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::units {

void SetPartTextCommand(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);

}  // namespace vellumry::units
