#include "runtime/commands/CommandArguments.h"

#include "runtime/commands/ValueConversion.h"

namespace vellumry::runtime::commands {

const TypedValue& Arguments::At(std::int32_t i) const
{
    static const TypedValue kOmitted;
    return i >= 0 && i < m_count ? m_values[i] : kOmitted;
}

std::string_view Arguments::Text(std::int32_t i) const
{
    const TypedValue& value = At(i);
    return value.tag == kTextType ? TextView(value.Pointer<const char>()) : std::string_view();
}

std::span<const std::uint8_t> Arguments::Bytes(std::int32_t i) const
{
    const TypedValue& value = At(i);
    return value.tag == kByteSetType ? ByteSetBytes(value.Pointer<const void>()) : std::span<const std::uint8_t>();
}

std::int32_t Arguments::Integer(std::int32_t i, std::int32_t fallback) const
{
    return IsGiven(i) ? IntegerOf(At(i)) : fallback;
}

double Arguments::Number(std::int32_t i) const
{
    return DoubleOf(At(i));
}

bool Arguments::Flag(std::int32_t i, bool fallback) const
{
    return IsGiven(i) ? At(i).low != 0 : fallback;
}

}  // namespace vellumry::runtime::commands
