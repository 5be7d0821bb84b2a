#pragma once

// The program's support-library table: library 1, the core library (51 data
// type positions, 54 command routine slots), library 2, the extended-UI
// library (5 data type positions, 7 command routine slots), and library 3,
// the special-function library (none of either). The data types the program
// uses sit at their numbered positions with their display and programming
// names, state flags and property records (the eight common properties, then
// the unit's own in the unit's numbering); every other position is all zero.
// The command slots are the runtime's arrays (runtime/base/CommandTables.h).
//
// The unit types' interface routines and the libraries' notify routines are
// filled in by the layers that implement them, during start-up wiring on the
// main thread, before the form engine or the shutdown reads the table.

#include <cstdint>
#include <string_view>

#include "runtime/DataTypeTag.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

inline constexpr std::int32_t kSupportLibraryCount = 3;
inline constexpr std::int32_t kCoreDataTypeCount = 51;
inline constexpr std::int32_t kExtendedUiDataTypeCount = 5;

// The array of kSupportLibraryCount library record pointers that the program
// header points at (library number = position + 1).
const runtime::LibraryRecord* const* SupportLibraries();

// The data type record of a library data type the program uses; null for
// other tags and for unused positions.
const runtime::DataTypeRecord* FindDataType(runtime::DataTypeTag tag);

// The tag of the data type with this programming name ("window", "Button",
// ...); 0 when the table has none.
runtime::DataTypeTag FindDataTypeByName(std::string_view programmingName);

// False when the tag names no data type of the table.
bool SetUnitInterface(runtime::DataTypeTag tag, runtime::UnitInterfaceRoutine routine);

// False for a library number outside 1 to kSupportLibraryCount.
bool SetLibraryNotify(std::int32_t libraryNumber, runtime::LibraryNotifyRoutine routine);

}  // namespace vellumry::forms
