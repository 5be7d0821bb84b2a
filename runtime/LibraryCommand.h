#pragma once

// The uniform shape of every library command: it writes its result into the
// zeroed result record and must not free its by-value arguments.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime {

using LibraryCommand = void (*)(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime
