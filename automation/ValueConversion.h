#pragma once

// Runtime values to VARIANTs and back, as the automation commands convert
// arguments, results and variant contents.
//
// Runtime value to VARIANT (arguments, AssignVariant):
//   ComObject  VT_DISPATCH (asked for with QueryInterface; VT_UNKNOWN when the
//              object has none) or VT_UNKNOWN, as the caller asks; the empty
//              object is a null one of that type. A holder that carries record
//              data is refused: a 16-byte VARIANT has no room for VT_RECORD.
//   Variant    a copy, references resolved
//   bool       VT_BOOL (true as -1)      date-time  VT_DATE
//   text       VT_BSTR (GBK to UTF-16)  byte       VT_UI1
//   short      VT_I2                    integer    VT_I4
//   long       VT_I4 (its low 32 bits)  float      VT_R4
//   double     VT_R8
//   byte-set   refused, except where a VT_UI1 array is asked for (AssignVariant)
//   any other  refused
//
// VARIANT to a runtime type (results, outputs): a copy with references
// resolved, changed with VariantChangeType (flags 0) to VT_UNKNOWN for a
// ComObject (the new holder takes a reference), VT_BOOL, VT_DATE, VT_BSTR for
// text (UTF-16 to GBK), VT_UI1, VT_I2, VT_I4 for integers and long integers
// (sign-extended), VT_R4 and VT_R8; a Variant is copied unchanged. Anything
// that does not change fails.

#include <cstdint>

#include "automation/ObjectHolder.h"
#include "platform/com/VariantTypes.h"
#include "runtime/DataTypeTag.h"
#include "runtime/TypedValue.h"

namespace vellumry::automation {

// The value form of an argument: a by-reference argument is read from the
// variable it names and loses the flag. A by-reference argument with a null
// address counts as left out (tag 0).
runtime::TypedValue ArgumentValue(const runtime::TypedValue& argument);

// The blocks behind value forms of the two automation types (null for any
// other type).
ObjectHolder* HolderOf(const runtime::TypedValue& value);
VARIANT* VariantOf(const runtime::TypedValue& value);

enum class ObjectForm { Dispatch, Unknown };

// Fills `out` (which must be empty) from a value form. Returns
// kAutomationOk, kArgumentRefused, or kOtherFailure when memory runs out.
std::int32_t ToVariant(const runtime::TypedValue& value, ObjectForm objectForm, VARIANT* out);

// As ToVariant, but a byte-set becomes a one-dimensional VT_UI1 array with
// lower bound 1 holding its bytes.
std::int32_t ToStoredVariant(const runtime::TypedValue& value, VARIANT* out);

// A new runtime value of `type` from `source`: texts (null when empty),
// holder blocks and variant blocks are owned by the receiver. False, with
// nothing made, when the value does not convert.
bool FromVariant(const VARIANT& source, runtime::DataTypeTag type, runtime::TypedValue* out);

// Converts `source` into the variable of `type` at `address`, replacing (and
// freeing or releasing) what it held. False when the value does not convert;
// the variable is then unchanged.
bool StoreIntoVariable(const VARIANT& source, runtime::DataTypeTag type, void* address);

// The empty value of `type`: a new empty holder, a new VT_EMPTY variant
// block, the null text, or zero; tag 0 for kNoType.
runtime::TypedValue EmptyValueOf(runtime::DataTypeTag type);

}  // namespace vellumry::automation
