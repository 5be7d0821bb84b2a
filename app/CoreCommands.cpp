#include "app/CoreCommands.h"

#include <span>
#include <vector>

#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::app {
namespace {

using runtime::CoreCommand;
using runtime::TypedValue;

TypedValue Call(CoreCommand slot, std::span<const TypedValue> arguments)
{
    return runtime::CallCoreSlot(slot, arguments);
}

TypedValue Call(CoreCommand slot, std::initializer_list<TypedValue> arguments)
{
    return Call(slot, std::span(arguments.begin(), arguments.size()));
}

TypedValue Int(std::int32_t value)
{
    return TypedValue::OfInt(value);
}

TypedValue OptionalInt(std::optional<std::int32_t> value)
{
    return value ? TypedValue::OfInt(*value) : TypedValue();
}

TypedValue OptionalBool(std::optional<bool> value)
{
    return value ? TypedValue::OfBool(*value) : TypedValue();
}

TypedValue OptionalText(const char* text)
{
    return text ? TextArgument(text) : TypedValue();
}

std::vector<TypedValue> Integers(std::initializer_list<std::int32_t> values)
{
    std::vector<TypedValue> arguments;
    for (std::int32_t value : values)
        arguments.push_back(Int(value));
    return arguments;
}

OwnedText TextResult(const TypedValue& result)
{
    return OwnedText(result.Pointer<char>());
}

OwnedByteSet ByteSetResult(const TypedValue& result)
{
    return OwnedByteSet(result.Pointer<std::uint8_t>());
}

}  // namespace

TypedValue TextArgument(const char* text)
{
    return TypedValue::OfPointer(runtime::kTextType, text);
}

TypedValue ByteSetArgument(const void* bytes)
{
    return TypedValue::OfPointer(runtime::kByteSetType, bytes);
}

std::int32_t LengthOfText(const char* text)
{
    return Call(CoreCommand::LengthOfText, {TextArgument(text)}).Int();
}

OwnedText LeftOfText(const char* text, std::int32_t count)
{
    return TextResult(Call(CoreCommand::LeftOfText, {TextArgument(text), Int(count)}));
}

OwnedText RightOfText(const char* text, std::int32_t count)
{
    return TextResult(Call(CoreCommand::RightOfText, {TextArgument(text), Int(count)}));
}

OwnedText MidOfText(const char* text, std::int32_t start, std::int32_t count)
{
    return TextResult(Call(CoreCommand::MidOfText, {TextArgument(text), Int(start), Int(count)}));
}

OwnedText CharFromCode(std::uint8_t code)
{
    return TextResult(Call(CoreCommand::CharFromCode, {TypedValue::OfByte(code)}));
}

std::int32_t CodeOfChar(const char* text, std::optional<std::int32_t> position)
{
    return Call(CoreCommand::CodeOfChar, {TextArgument(text), OptionalInt(position)}).Int();
}

std::int32_t FindText(const char* text, const char* sought, std::optional<std::int32_t> start,
                      std::optional<bool> ignoreCase)
{
    return Call(CoreCommand::FindText, {TextArgument(text), TextArgument(sought), OptionalInt(start), OptionalBool(ignoreCase)})
        .Int();
}

std::int32_t FindTextBackward(const char* text, const char* sought, std::optional<std::int32_t> end,
                              std::optional<bool> ignoreCase)
{
    return Call(CoreCommand::FindTextBackward,
                {TextArgument(text), TextArgument(sought), OptionalInt(end), OptionalBool(ignoreCase)})
        .Int();
}

OwnedText ToLowerCase(const char* text)
{
    return TextResult(Call(CoreCommand::ToLowerCase, {TextArgument(text)}));
}

OwnedText TrimSpaces(const char* text)
{
    return TextResult(Call(CoreCommand::TrimSpaces, {TextArgument(text)}));
}

OwnedText RemoveAllSpaces(const char* text)
{
    return TextResult(Call(CoreCommand::RemoveAllSpaces, {TextArgument(text)}));
}

OwnedText ReplaceSubText(const char* text, const char* sought, const char* replacement,
                         std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                         std::optional<bool> caseSensitive)
{
    return TextResult(Call(CoreCommand::ReplaceSubText,
                           {TextArgument(text), TextArgument(sought), OptionalText(replacement), OptionalInt(start),
                            OptionalInt(count), OptionalBool(caseSensitive)}));
}

OwnedTextArray SplitText(const char* text, const char* separator, std::optional<std::int32_t> maximum)
{
    TypedValue result = Call(CoreCommand::SplitText, {TextArgument(text), OptionalText(separator), OptionalInt(maximum)});
    return OwnedTextArray(result.Pointer<void>());
}

OwnedText BlankText(std::int32_t count)
{
    return TextResult(Call(CoreCommand::BlankText, {Int(count)}));
}

std::int32_t TextCompare(const char* a, const char* b, bool caseSensitive)
{
    return Call(CoreCommand::TextCompare, {TextArgument(a), TextArgument(b), TypedValue::OfBool(caseSensitive)}).Int();
}

std::int32_t ByteSetLength(const void* bytes)
{
    return Call(CoreCommand::ByteSetLength, {ByteSetArgument(bytes)}).Int();
}

OwnedByteSet LeftOfByteSet(const void* bytes, std::int32_t count)
{
    return ByteSetResult(Call(CoreCommand::LeftOfByteSet, {ByteSetArgument(bytes), Int(count)}));
}

OwnedByteSet MidOfByteSet(const void* bytes, std::int32_t start, std::int32_t count)
{
    return ByteSetResult(Call(CoreCommand::MidOfByteSet, {ByteSetArgument(bytes), Int(start), Int(count)}));
}

OwnedByteSet BlankByteSet(std::int32_t count)
{
    return ByteSetResult(Call(CoreCommand::BlankByteSet, {Int(count)}));
}

std::int32_t ToInteger(const TypedValue& value)
{
    return Call(CoreCommand::ToInteger, {value}).Int();
}

std::uint8_t ToByte(const TypedValue& value)
{
    return Call(CoreCommand::ToByte, {value}).Byte();
}

OwnedText ToText(const TypedValue& value)
{
    return TextResult(Call(CoreCommand::ToText, {value}));
}

OwnedByteSet ToByteSet(const TypedValue& value)
{
    return ByteSetResult(Call(CoreCommand::ToByteSet, {value}));
}

double Remainder(double value, std::initializer_list<double> divisors)
{
    std::vector<TypedValue> arguments{TypedValue::OfDouble(value)};
    for (double divisor : divisors)
        arguments.push_back(TypedValue::OfDouble(divisor));
    return Call(CoreCommand::Remainder, arguments).Double();
}

std::int32_t BitAnd(std::initializer_list<std::int32_t> values)
{
    return Call(CoreCommand::BitAnd, Integers(values)).Int();
}

std::int32_t BitOr(std::initializer_list<std::int32_t> values)
{
    return Call(CoreCommand::BitOr, Integers(values)).Int();
}

std::int32_t ShiftLeft(std::int32_t value, std::int32_t count)
{
    return Call(CoreCommand::ShiftLeft, {Int(value), Int(count)}).Int();
}

std::int32_t ShiftRight(std::int32_t value, std::int32_t count)
{
    return Call(CoreCommand::ShiftRight, {Int(value), Int(count)}).Int();
}

OwnedText ProgramFolder()
{
    return TextResult(Call(CoreCommand::ProgramFolder, {}));
}

bool WriteToFile(const char* path, std::initializer_list<const void*> byteSets)
{
    std::vector<TypedValue> arguments{TextArgument(path)};
    for (const void* bytes : byteSets)
        arguments.push_back(ByteSetArgument(bytes));
    return Call(CoreCommand::WriteToFile, arguments).Bool();
}

OwnedText ReadProfileItem(const char* file, const char* section, const char* key, const char* defaultValue)
{
    return TextResult(Call(CoreCommand::ReadProfileItem,
                           {TextArgument(file), TextArgument(section), TextArgument(key), OptionalText(defaultValue)}));
}

bool WriteProfileItem(const char* file, const char* section, const char* key, const char* value)
{
    return Call(CoreCommand::WriteProfileItem,
                {TextArgument(file), TextArgument(section), OptionalText(key), OptionalText(value)})
        .Bool();
}

std::int32_t EnumerateUnits(const TypedValue& window, const char* nameFilter, const char* typeName)
{
    return Call(CoreCommand::EnumerateUnits, {window, OptionalText(nameFilter), OptionalText(typeName)}).Int();
}

std::int32_t UnitListCount(std::int32_t list)
{
    return Call(CoreCommand::UnitListCount, {Int(list)}).Int();
}

TypedValue UnitListItem(std::int32_t list, std::int32_t index)
{
    return Call(CoreCommand::UnitListItem, {Int(list), Int(index)});
}

void UnitListRelease(std::int32_t list)
{
    Call(CoreCommand::UnitListRelease, {Int(list)});
}

OwnedText UnitNameOf(const TypedValue& unit)
{
    return TextResult(Call(CoreCommand::UnitNameOf, {unit}));
}

}  // namespace vellumry::app
