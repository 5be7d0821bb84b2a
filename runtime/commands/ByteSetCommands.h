#pragma once

// The byte-set commands of the core library. Counts and positions are
// clamped; an empty result is the null byte-set. Stateless; any thread.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::runtime::commands {

// (byte-set) -> integer: the stored length, 0 for the empty byte-set.
void ByteSetLength(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (byte-set, count) -> the first count bytes, count clamped to 0 .. length.
void LeftOfByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (byte-set, start, count) -> from byte start - 1 (clamped to 0 .. length),
// count clamped to 0 and to the bytes that remain.
void MidOfByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments);
// (count) -> count zero bytes; empty for count <= 0. A count whose block would
// not fit the heap is the runtime's allocation failure.
void BlankByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments);

}  // namespace vellumry::runtime::commands
