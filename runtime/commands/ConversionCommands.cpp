#include "runtime/commands/ConversionCommands.h"

#include "runtime/commands/CommandArguments.h"
#include "runtime/commands/ValueConversion.h"

namespace vellumry::runtime::commands {

void ToInteger(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnInteger(result, Arguments(count, arguments).Integer(0));
}

void ToByte(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = TypedValue::OfByte(static_cast<std::uint8_t>(Arguments(count, arguments).Integer(0)));
}

void ToText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnText(result, TextOf(Arguments(count, arguments).At(0)));
}

void ToByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnByteSet(result, ByteSetOf(Arguments(count, arguments).At(0)));
}

}  // namespace vellumry::runtime::commands
