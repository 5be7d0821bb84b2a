#pragma once

// The inspector: prints a program description for a person to read, as
// UTF-8 text: the program header, the support-library table, the DLL command
// table and every unit of every form of the window template, with its stored
// property record decoded field by field.

#include <ostream>
#include <span>
#include <string_view>

#include "runtime/ProgramHeader.h"

namespace vellumry::listing {

// `handlerNames` is the application's handler list, by which event bindings
// are named. Returns false when the window template cannot be read; the
// parts before it are printed all the same.
bool ListProgram(const runtime::ProgramHeader& header, std::span<const std::string_view> handlerNames,
                    std::ostream& out);

}  // namespace vellumry::listing
