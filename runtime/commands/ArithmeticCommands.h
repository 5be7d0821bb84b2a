#pragma once

// Arithmetic and bit commands of the core library. Stateless; any thread.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime::commands {

// (x, d1, d2, ...) -> x reduced by each d in turn with the floating-point
// remainder (the sign follows the dividend). A divisor of 0 is the fatal
// runtime error "不能求余数于零".
void Remainder(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (a, b, ...) -> bitwise and / or of all 32-bit integers.
void BitAnd(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void BitOr(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (value, count) -> shifted by count modulo 32; right shifts copy the sign.
void ShiftLeft(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ShiftRight(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime::commands
