#pragma once

// The DLL command table: per index a library file name (empty for a system
// library) and an export name ("#digits" names an ordinal), resolved lazily to
// an address and cached with the module that holds it. Resolution follows the
// fixed search order of the runtime; a command that cannot be found is a fatal
// runtime error. The caches are never invalidated while the program runs.
//
// Any thread may resolve. A thread searches with its own module references
// and stores only an address it found, into an atomic slot that takes the
// first one stored: two threads that resolve the same index at once both get
// the address, and the module reference of the one that came second is
// released. Installing a table releases the modules of the one before it;
// the library folder prefix is a setting of its own and survives both.

#include <cstdint>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/modules/ExportSignature.h"

namespace vellumry::runtime {

// Copies the names and zeroes both caches (runtime initialisation), after
// releasing the modules of a table installed before.
void InstallDllCommands(std::int32_t count, const char* const* libraryNames, const char* const* exportNames);

// Frees every cached module and empties the table (shutdown).
void UnloadDllCommands();

std::int32_t DllCommandCount();

// The optional folder prefix tried first for a named library; empty unless set.
void SetDllLibraryFolderPrefix(std::string prefix);

// The address of the command's routine; reports the runtime error and does not
// return when it cannot be found.
FARPROC ResolveDllCommand(std::int32_t index);

// The module cached for an index (null when unresolved or out of range).
HMODULE DllCommandModule(std::int32_t index);

// Resolves the command and checks that the caller declared it with the
// export's function type. A mismatch is runtime error 6 with the caller's two
// related values, the same report a failed stack check gives.
FARPROC CheckedDllCommandAddress(std::int32_t index, modules::ExportSignature declared, std::int32_t related1,
                                 std::int32_t related2);

}  // namespace vellumry::runtime
