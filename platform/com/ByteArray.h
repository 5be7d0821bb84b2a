#pragma once

// Binary data as components hand it over: a VARIANT holding a one-dimensional
// array of VT_UI1.

#include <cstdint>
#include <span>

#include "platform/com/ComTypes.h"
#include "platform/com/VariantTypes.h"

namespace vellumry::com {

// Makes `out` (left as it was) an array of VT_UI1 with a copy of `bytes`,
// its first index `lowerBound`. False when the array cannot be made; `out`
// is then VT_EMPTY.
bool MakeByteArrayVariant(std::span<const std::uint8_t> bytes, LONG lowerBound, VARIANT* out);

}  // namespace vellumry::com
