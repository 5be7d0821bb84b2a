#pragma once

// The storage of the two automation value types, each in a block of its own
// in the runtime heap that the variable owns:
// - a `ComObject` is an ObjectHolder: a counted reference to an object (or
//   null: the empty object), and the data of a user-defined record when the
//   holder carries one (then `object` is the record's IRecordInfo);
// - a `Variant` is one 16-byte VARIANT.
//
// A command argument of either type carries the address of the block in its
// payload; with the by-reference flag, the address of the caller's variable,
// which holds the block's address. A command that returns one hands out a new
// block that the caller owns: it clears it (ClearObject, ClearVariant) and
// frees it through the runtime heap.

#include "platform/com/Unknown.h"
#include "platform/com/VariantTypes.h"

namespace vellumry::automation {

struct ObjectHolder {
    IUnknown* object;
    void* recordData;
};

// A new block holding two nulls (the empty object).
ObjectHolder* NewObjectHolder();

// A new block holding VT_EMPTY (zeroed), or the 32-bit integer 0 as a new
// `Variant` variable of the application starts.
VARIANT* NewVariantBlock();
VARIANT* NewIntegerZeroVariant();

// Releases what the holder holds (destroying record data first) and leaves
// two nulls. Null is ignored.
void ClearHolder(ObjectHolder* holder);

}  // namespace vellumry::automation
