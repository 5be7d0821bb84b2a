#pragma once

// The conversions of any value to an integer, a double, a text or a byte-set,
// by the value's type tag. They back the conversion commands and the reading
// of numeric arguments by every other command.
//
// An array reference (ArrayReference in DataTypeTag.h) to a numeric type names
// an array of that type: the payload is the address of the array variable. A
// by-reference scalar is none of the values below: it converts as "anything
// else". A malformed array header is runtime error 10 (ValueHelpers.h).

#include <cstdint>
#include <string_view>

#include "runtime/TypedValue.h"
#include "runtime/Values.h"

namespace vellumry::runtime::commands {

// byte zero-extended; short sign-extended; integer, boolean and subroutine
// address as they are; long integer: its low 32 bits; float and double
// truncated toward zero (NaN and values outside the 32-bit range give
// -2147483648, the processor's "integer indefinite"); text: read with
// IntegerFromText; anything else 0.
std::int32_t IntegerOf(const TypedValue& value);

// Full-width forms folded to ASCII (0xA3 0xA1..0xFE to the second byte minus
// 0x80, 0xA1 0xA1 to a space, 0xA1 0xAB to "~", 0xA1 0xEE and 0xA1 0xEF to
// "*"), then leading white space, an optional sign and the decimal digits up
// to the first other character. No digits give 0; a number beyond the 32-bit
// range stops at the nearest end of it.
std::int32_t IntegerFromText(std::string_view text);

// Numbers as they are, a boolean as 0 or 1; anything else 0.
double DoubleOf(const TypedValue& value);

// The text form: decimal numbers, "%.6g" for a float and "%.13g" for a double
// (independent of the C locale), "真" / "假", the date-time form, a copy of a
// text, the bytes of a byte-set or numeric array up to the first zero byte.
// Null when empty.
TextValue TextOf(const TypedValue& value);

// The bytes: a text without its terminating zero, a copy of a byte-set, the
// value's bytes in memory order for numbers, booleans and date-times, all
// elements' bytes of a numeric array. Null when empty.
ByteSet ByteSetOf(const TypedValue& value);

}  // namespace vellumry::runtime::commands
