#pragma once

// Calling library commands with the uniform argument shape. The result record
// is zeroed before the command runs, so a command that returns nothing yields
// a zero payload and tag 0. A null command (a slot nobody filled) is the
// runtime error "所调用的支持库命令不存在". The call interface keeps no state.

#include <cstdint>
#include <initializer_list>

#include "runtime/LibraryCommand.h"
#include "runtime/TypedValue.h"

namespace vellumry::runtime {

TypedValue CallCoreCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments);
TypedValue CallLibraryCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments);

inline TypedValue CallCommand(LibraryCommand command, std::initializer_list<TypedValue> arguments)
{
    return CallCoreCommand(command, static_cast<std::int32_t>(arguments.size()), arguments.begin());
}

}  // namespace vellumry::runtime
