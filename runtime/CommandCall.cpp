#include "runtime/CommandCall.h"

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

}  // namespace vellumry::runtime
