#pragma once

// Typed calls of the core library's runtime commands, for the application's
// code. Each call goes through the runtime interface table (entry 3,
// CallCoreCommand) to the command in its slot, with the arguments as typed
// values; a left-out optional argument (an empty std::optional, or a null
// text where the parameter is optional) travels with tag 0 and takes the
// command's default. Results are owned: texts and byte-sets free themselves
// through the runtime heap. Text and byte-set arguments are borrowed.
//
// The commands must have been installed (InstallRuntimeCoreCommands) before
// the first call; a call into an empty slot is a wiring mistake and aborts.

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "runtime/HeapOwner.h"
#include "runtime/TypedValue.h"

namespace vellumry::app {

using runtime::OwnedByteSet;
using runtime::OwnedText;
using runtime::OwnedTextArray;

// A text argument for a text that may be null (the empty value): the empty
// text then, as the commands take no null texts.
inline const char* OrEmpty(const char* text)
{
    return text ? text : "";
}

// Texts.
std::int32_t LengthOfText(const char* text);
OwnedText LeftOfText(const char* text, std::int32_t count);
OwnedText RightOfText(const char* text, std::int32_t count);
OwnedText MidOfText(const char* text, std::int32_t start, std::int32_t count);
OwnedText CharFromCode(std::uint8_t code);
std::int32_t CodeOfChar(const char* text, std::optional<std::int32_t> position = {});
std::int32_t FindText(const char* text, const char* sought, std::optional<std::int32_t> start = {},
                      std::optional<bool> ignoreCase = {});
std::int32_t FindTextBackward(const char* text, const char* sought, std::optional<std::int32_t> end = {},
                              std::optional<bool> ignoreCase = {});
OwnedText ToLowerCase(const char* text);
OwnedText TrimSpaces(const char* text);
OwnedText RemoveAllSpaces(const char* text);
// `replacement` null: left out (the empty text).
OwnedText ReplaceSubText(const char* text, const char* sought, const char* replacement = nullptr,
                         std::optional<std::int32_t> start = {}, std::optional<std::int32_t> count = {},
                         std::optional<bool> caseSensitive = {});
// `separator` null: left out (","). The array owns its texts.
OwnedTextArray SplitText(const char* text, const char* separator = nullptr,
                         std::optional<std::int32_t> maximum = {});
OwnedText BlankText(std::int32_t count);
std::int32_t TextCompare(const char* a, const char* b, bool caseSensitive);

// Byte-sets.
std::int32_t ByteSetLength(const void* bytes);
OwnedByteSet LeftOfByteSet(const void* bytes, std::int32_t count);
OwnedByteSet MidOfByteSet(const void* bytes, std::int32_t start, std::int32_t count);
OwnedByteSet BlankByteSet(std::int32_t count);

// Conversions of any value.
std::int32_t ToInteger(const runtime::TypedValue& value);
std::uint8_t ToByte(const runtime::TypedValue& value);
OwnedText ToText(const runtime::TypedValue& value);
OwnedByteSet ToByteSet(const runtime::TypedValue& value);
// The typed-value forms of a text and of a byte-set, for the conversions.
runtime::TypedValue TextArgument(const char* text);
runtime::TypedValue ByteSetArgument(const void* bytes);

// Arithmetic and bits.
double Remainder(double value, std::initializer_list<double> divisors);
std::int32_t BitAnd(std::initializer_list<std::int32_t> values);
std::int32_t BitOr(std::initializer_list<std::int32_t> values);
std::int32_t ShiftLeft(std::int32_t value, std::int32_t count);
std::int32_t ShiftRight(std::int32_t value, std::int32_t count);

// Files, settings files and the program.
OwnedText ProgramFolder();
bool WriteToFile(const char* path, std::initializer_list<const void*> byteSets);
// `defaultValue` null: left out (the empty text).
OwnedText ReadProfileItem(const char* file, const char* section, const char* key,
                          const char* defaultValue = nullptr);
// `key` null: left out (removes the section); `value` null: left out
// (removes the key).
bool WriteProfileItem(const char* file, const char* section, const char* key, const char* value);

// Unit enumeration. `window` is a unit reference of a form window; a null
// filter or type name is left out (every unit). A list handle of 0 means no
// unit matched; every list must be released.
std::int32_t EnumerateUnits(const runtime::TypedValue& window, const char* nameFilter = nullptr,
                            const char* typeName = nullptr);
std::int32_t UnitListCount(std::int32_t list);
runtime::TypedValue UnitListItem(std::int32_t list, std::int32_t index);
void UnitListRelease(std::int32_t list);
OwnedText UnitNameOf(const runtime::TypedValue& unit);

}  // namespace vellumry::app
