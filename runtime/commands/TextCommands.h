#pragma once

// The text commands of the core library. Texts are GBK byte strings; lengths,
// positions and counts are in bytes, positions 1-based. Commands that walk a
// text step over two-byte characters whole (GbkCharacters.h); the commands
// that cut by count do not look at characters and may cut one in half.
// Out-of-range positions and counts are clamped or give the empty result,
// which is the null text. Stateless; any thread.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime::commands {

// (text) -> integer: its length in bytes.
void LengthOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, count) -> the first / last min(count, length) bytes; empty for count <= 0.
void LeftOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void RightOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, start, count) -> up to count bytes from start; empty when start is
// outside 1 .. length or count <= 0.
void MidOfText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (code) -> the one-byte text of the code's low 8 bits; empty for 0.
void CharFromCode(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, [position = 1]) -> the byte there as a signed 8-bit value; 0 outside.
void CodeOfChar(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text) -> A to Z lowered; two-byte characters unchanged.
void ToLowerCase(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text) -> without blanks (space, 0xA1 0xA1) at both ends / anywhere.
void TrimSpaces(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void RemoveAllSpaces(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (count) -> count spaces; empty for count < 1. A count whose text would not
// fit one heap block is the runtime's allocation failure.
void BlankText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (a, b, case-sensitive) -> -1, 0 or 1 comparing character codes (a two-byte
// character as lead * 256 + trail); without case-sensitivity ASCII letters
// compare folded.
void TextCompare(TypedValue* result, std::int32_t count, const TypedValue* arguments);

// The searching commands (TextSearchCommands.cpp).
// (text, sought, [start = 1], [ignore case = false]) -> first match position or -1.
void FindText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, sought, [end], [ignore case = false]) -> position of the last match
// lying within the first end - 1 bytes (the whole text without end), or -1.
void FindTextBackward(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, sought, [replacement = ""], [start = 1], [count = unlimited],
//  [case-sensitive = false]) -> the text with the matches replaced. A negative
// count is unlimited too.
void ReplaceSubText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (text, [separator = ","], [maximum = unlimited]) -> one-dimensional array of
// texts, its result record tagged as text.
void SplitText(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime::commands
