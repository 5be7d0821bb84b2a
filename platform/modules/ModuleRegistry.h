#pragma once

// The built-in modules: named collections of exports that stand in for the
// Windows libraries this program calls by name ("kernel32", "user32",
// "shlwapi", "wininet", ...). Module names match without letter case and with
// or without a ".dll" ending. Several parts of the program may add exports to
// the same module; each export keeps the function type it was registered with.
//
// Thread-safe: registration and lookup take the registry's lock.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/modules/ExportSignature.h"

namespace vellumry::modules {

struct ExportEntry {
    std::string name;
    WORD ordinal = 0;  // 0: the next free ordinal of the module
    FARPROC address = nullptr;
    ExportSignature signature = nullptr;
};

// Makes an export entry from a function, recording its exact type.
template <typename Function>
ExportEntry Export(std::string_view name, Function* function, WORD ordinal = 0)
{
    static_assert(std::is_function_v<Function>);
    return {std::string(name), ordinal, reinterpret_cast<FARPROC>(function), SignatureOf<Function>()};
}

// Lower-cased name without a trailing ".dll": the key modules match by.
std::string NormalizeModuleName(std::string_view name);

// Adds exports to a built-in module, creating the module on first use. An
// export whose name is already present is replaced.
void RegisterBuiltinExports(std::string_view module, std::vector<ExportEntry> exports);

// Removes a built-in module (tests use this to undo their registrations).
void UnregisterBuiltinModule(std::string_view module);

// The built-in module for a bare module name, or null.
HMODULE FindBuiltinModule(std::string_view name);

// The signature registered for an export address, or null when the address is
// not a built-in export (for instance one found in a real shared object).
ExportSignature FindExportSignature(FARPROC address);

}  // namespace vellumry::modules
