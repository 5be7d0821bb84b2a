#pragma once

// The unit-enumeration commands of the core library: list the units of a
// loaded form by name, type and tag range, read the list, release it, and
// name a unit. Lists live in a process-wide table from EnumerateUnits to
// UnitListRelease.

#include "runtime/LibraryCommand.h"

namespace vellumry::forms {

void EnumerateUnits(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);
void UnitListCount(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);
void UnitListItem(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);
void UnitListRelease(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);
void UnitNameOf(runtime::TypedValue* result, std::int32_t count, const runtime::TypedValue* arguments);

// Puts the five commands into their core library slots.
void InstallUnitEnumerationCommands();

}  // namespace vellumry::forms
