#include "runtime/commands/TextCommands.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"
#include "runtime/commands/GbkCharacters.h"
#include "runtime/commands/TextWalks.h"

namespace vellumry::runtime::commands {
namespace {

// Lengths and counts meet in 64 bits, so that no count overflows.
std::int64_t SizeOf(std::string_view text)
{
    return static_cast<std::int64_t>(text.size());
}

void ReturnPart(TypedValue* result, std::string_view text, std::int64_t from, std::int64_t length)
{
    ReturnText(result, MakeTextOrNull(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length))));
}

// The character code TextCompare compares: a two-byte character as one code
// above every single byte.
int CharacterCode(std::string_view text, std::size_t i, bool foldCase)
{
    if (i >= text.size())
        return 0;
    if (CharacterLength(text, i) == 2)
        return static_cast<unsigned char>(text[i]) << 8 | static_cast<unsigned char>(text[i + 1]);
    return static_cast<unsigned char>(foldCase ? FoldAscii(text[i]) : text[i]);
}

}  // namespace

void LengthOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnInteger(result, static_cast<std::int32_t>(Arguments(count, arguments).Text(0).size()));
}

void LeftOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::int64_t length = std::clamp<std::int64_t>(args.Integer(1), 0, SizeOf(text));
    ReturnPart(result, text, 0, length);
}

void RightOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::int64_t length = std::clamp<std::int64_t>(args.Integer(1), 0, SizeOf(text));
    ReturnPart(result, text, SizeOf(text) - length, length);
}

void MidOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::int64_t start = args.Integer(1);
    std::int64_t wanted = args.Integer(2);
    if (start < 1 || start > SizeOf(text) || wanted <= 0) {
        ReturnText(result, nullptr);
        return;
    }
    ReturnPart(result, text, start - 1, std::min(wanted, SizeOf(text) - (start - 1)));
}

void CharFromCode(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    char code = static_cast<char>(Arguments(count, arguments).Integer(0) & 0xFF);
    ReturnText(result, code == 0 ? nullptr : MakeText(std::string_view(&code, 1)));
}

void CodeOfChar(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::int64_t position = args.Integer(1, 1);
    std::int32_t code = 0;
    if (position >= 1 && position <= SizeOf(text))
        code = static_cast<std::int8_t>(text[static_cast<std::size_t>(position - 1)]);
    ReturnInteger(result, code);
}

void ToLowerCase(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnText(result, MakeTextOrNull(LowerAscii(Arguments(count, arguments).Text(0))));
}

void TrimSpaces(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnText(result, MakeTextOrNull(TrimBlanks(Arguments(count, arguments).Text(0))));
}

void RemoveAllSpaces(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnText(result, MakeTextOrNull(WithoutBlanks(Arguments(count, arguments).Text(0))));
}

void BlankText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    std::int64_t blanks = Arguments(count, arguments).Integer(0);
    if (blanks < 1) {
        ReturnText(result, nullptr);
        return;
    }
    if (blanks + 1 > INT32_MAX)
        ReportAllocationFailure(blanks + 1);
    auto* text = static_cast<char*>(RuntimeAlloc(static_cast<std::int32_t>(blanks + 1)));
    std::memset(text, ' ', static_cast<std::size_t>(blanks));
    text[blanks] = '\0';
    ReturnText(result, text);
}

void TextCompare(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view a = args.Text(0);
    std::string_view b = args.Text(1);
    bool foldCase = !args.Flag(2);
    std::size_t i = 0;
    while (true) {
        int x = CharacterCode(a, i, foldCase);
        int y = CharacterCode(b, i, foldCase);
        if (x != y) {
            ReturnInteger(result, x < y ? -1 : 1);
            return;
        }
        if (x == 0) {
            ReturnInteger(result, 0);
            return;
        }
        // Equal codes have equal lengths in both texts.
        i += CharacterLength(a, i);
    }
}

}  // namespace vellumry::runtime::commands
