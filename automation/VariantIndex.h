#pragma once

// The array a variant holds, and the reading of the one-number index the
// variant commands take into it.

#include "platform/com/VariantTypes.h"

namespace vellumry::automation {

// The array a variant holds directly or by reference, or null.
SAFEARRAY* ArrayIn(const VARIANT& variant);

// Spreads the 1-based `position` over the dimensions of `array`, the first
// dimension varying fastest, each counted from its lower bound, into
// `indices` (SafeArrayPutElement's order, one per dimension). False when the
// position lies outside the array.
bool IndexesFromPosition(const SAFEARRAY* array, long long position, LONG* indices);

}  // namespace vellumry::automation
