#include "runtime/CommandCall.h"

#include "platform/kernel/ThreadStop.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::runtime {
namespace {

// A slot that no layer filled holds no routine: calling it is a runtime
// error, not a jump to address 0.
TypedValue Call(LibraryCommand command, std::int32_t count, const TypedValue* arguments)
{
    kernel::ThrowIfStopRequested();  // a stopped worker goes no further
    if (!command)
        ReportError(texts::kCommandMissing, 0, 0, 0);
    TypedValue result;
    command(&result, count, arguments);
    return result;
}

}  // namespace

TypedValue CallCoreCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments)
{
    return Call(command, count, arguments);
}

TypedValue CallLibraryCommand(LibraryCommand command, std::int32_t count, const TypedValue* arguments)
{
    return Call(command, count, arguments);
}

TypedValue CallCoreSlot(CoreCommand slot, std::span<const TypedValue> arguments)
{
    // An empty slot is the runtime's to report (Call above).
    return GetRuntimeInterface().callCoreCommand(CoreCommandSlot(slot), static_cast<std::int32_t>(arguments.size()),
                                                 arguments.data());
}

}  // namespace vellumry::runtime
