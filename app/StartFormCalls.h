#pragma once

// The application's calls on the units of its start form: property reads and
// writes by (form, unit, property index) and the report list's and status
// bar's library commands, all through the runtime interface table. Each call
// is one complete operation of the runtime, callable from the window thread
// and from workers; a worker that has been told to stop unwinds at the call
// instead of changing anything.

#include <cstdint>

#include "app/CoreCommands.h"
#include "forms/description/Identifiers.h"
#include "runtime/ExtendedUiCommandSlots.h"

namespace vellumry::app {

// Common properties of every unit, and the edit box's content.
inline constexpr std::int32_t kVisibleProperty = 5;
inline constexpr std::int32_t kDisabledProperty = 6;
inline constexpr std::int32_t kContentProperty = 8;

// A text property of a unit of the start form; the receiver owns it.
OwnedText ReadTextProperty(forms::UnitId unit, std::int32_t property);
// A byte-set property; the receiver owns it.
OwnedByteSet ReadByteSetProperty(forms::UnitId unit, std::int32_t property);
void WriteTextProperty(forms::UnitId unit, std::int32_t property, const char* text);
bool ReadBoolProperty(forms::UnitId unit, std::int32_t property);
void WriteBoolProperty(forms::UnitId unit, std::int32_t property, bool value);

// An extended-UI library command on a unit of the start form of type
// `unitType`, with the arguments after the unit.
runtime::TypedValue CallUnitCommand(runtime::ExtendedUiCommand command, runtime::DataTypeTag unitType,
                                    forms::UnitId unit, std::initializer_list<runtime::TypedValue> arguments);

}  // namespace vellumry::app
