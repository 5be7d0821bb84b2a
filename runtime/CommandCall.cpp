#include "runtime/CommandCall.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::runtime {

TypedValue CallCoreCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments)
{
    TypedValue result;
    command(&result, count, arguments);
    return result;
}

TypedValue CallLibraryCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments)
{
    TypedValue result;
    command(&result, count, arguments);
    return result;
}

TypedValue CallCoreSlot(CoreCommand slot, std::span<const TypedValue> arguments)
{
    LibraryCommand command = CoreCommandSlot(slot);
    if (command == nullptr) {
        std::fprintf(stderr, "core command %d was called before it was installed\n", static_cast<int>(slot));
        std::abort();
    }
    return GetRuntimeInterface().callCoreCommand(command, static_cast<std::int32_t>(arguments.size()),
                                                 arguments.data());
}

}  // namespace vellumry::runtime
