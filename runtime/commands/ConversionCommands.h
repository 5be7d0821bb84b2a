#pragma once

// The conversion commands of the core library; the rules are those of
// ValueConversion.h. Stateless; any thread.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime::commands {

void ToInteger(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// The low 8 bits of what ToInteger gives, as a byte.
void ToByte(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ToText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ToByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime::commands
