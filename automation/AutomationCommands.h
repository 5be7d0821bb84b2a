#pragma once

// The seventeen automation-object and variant commands of the core library.
// Each takes the object or variant it works on first (ObjectHolder.h says how
// it travels); none shows a message or raises a runtime error.
//
//   CreateObject        name, [type library file] -> bool: the holder takes
//                       the new object; on failure it keeps what it held
//   ClearObject         releases the object (and record data)
//   IsEmptyObject       -> bool
//   CopyObject          source -> the first argument, a fresh holder, takes
//                       a new reference to the source's object
//   ReadTextProperty    name, arguments... -> text      (read)
//   ReadNumberProperty  name, arguments... -> double    (read)
//   ReadObjectProperty  name, arguments... -> ComObject (read)
//   ReadProperty        name, arguments... -> Variant   (read)
//   WriteProperty       name, arguments..., value -> bool: AutomationError is 0
//   CallMethod          name, arguments...              (method)
//   CallTextMethod      name, arguments... -> text      (method)
//   CallObjectMethod    name, arguments... -> ComObject (method)
//   AssignVariant       value, [index] -> bool: stored
//   VariantToText       [index] -> text
//   VariantToByteSet    [index] -> byte-set
//   CopyVariant         source -> the first argument, a fresh block, takes a
//                       copy
//   ClearVariant        clears and zeroes the variant
//
// The read, write and call commands work through InvokeByName.h and set the
// thread's AutomationError. An index into a variant that holds an array is
// one 1-based number spread over the dimensions, the first varying fastest,
// each counted from its lower bound.

#include <cstdint>

#include "runtime/TypedValue.h"

namespace vellumry::automation {

using runtime::TypedValue;

void CreateObject(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ClearObject(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void IsEmptyObject(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void CopyObject(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ReadTextProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ReadNumberProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ReadObjectProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ReadProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void WriteProperty(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void CallMethod(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void CallTextMethod(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void CallObjectMethod(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void AssignVariant(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void VariantToText(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void VariantToByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void CopyVariant(TypedValue* result, std::int32_t count, const TypedValue* arguments);
void ClearVariant(TypedValue* result, std::int32_t count, const TypedValue* arguments);

// Puts the seventeen commands into their slots of the core library, makes
// the component-model functions reachable as DLL commands and lets the
// runtime initialise the component model for the main thread. Part of
// start-up wiring; idempotent.
void InstallAutomation();

}  // namespace vellumry::automation
