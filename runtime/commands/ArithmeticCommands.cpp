#include "runtime/commands/ArithmeticCommands.h"

#include <cmath>

#include "runtime/CommandTexts.h"
#include "runtime/ErrorReporter.h"
#include "runtime/commands/CommandArguments.h"

namespace vellumry::runtime::commands {

void Remainder(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    double value = args.Number(0);
    for (std::int32_t i = 1; i < args.Count(); ++i) {
        double divisor = args.Number(i);
        if (divisor == 0.0)
            ReportError(texts::kRemainderByZero, 0, 0, 0);
        value = std::fmod(value, divisor);
    }
    ReturnDouble(result, value);
}

void BitAnd(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::uint32_t value = static_cast<std::uint32_t>(args.Integer(0));
    for (std::int32_t i = 1; i < args.Count(); ++i)
        value &= static_cast<std::uint32_t>(args.Integer(i));
    ReturnInteger(result, static_cast<std::int32_t>(value));
}

void BitOr(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::uint32_t value = 0;
    for (std::int32_t i = 0; i < args.Count(); ++i)
        value |= static_cast<std::uint32_t>(args.Integer(i));
    ReturnInteger(result, static_cast<std::int32_t>(value));
}

void ShiftLeft(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    auto value = static_cast<std::uint32_t>(args.Integer(0));
    ReturnInteger(result, static_cast<std::int32_t>(value << (args.Integer(1) & 31)));
}

void ShiftRight(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    ReturnInteger(result, args.Integer(0) >> (args.Integer(1) & 31));
}

}  // namespace vellumry::runtime::commands
