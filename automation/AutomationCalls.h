#pragma once

// Typed calls of the automation commands, for the application's code (the
// regular-expression object, the HTTP request routine). Each goes through the
// runtime interface table (entry 3, CallCoreCommand) to the command in its
// core-library slot, as the application calls every runtime command.
//
// Objects and variants live in blocks of the runtime heap; OwnedObject and
// OwnedVariant own one such block and, when they go, clear it through
// ClearObject / ClearVariant and free it. Results that are objects, variants
// or texts come back owned.
//
// Member arguments are TypedValues: Text("..."), TypedValue::OfDouble(...),
// ObjectArgument(...), VariantArgument(...), ByReference(...) for a variable
// the member may write to; a default-constructed TypedValue is a left-out
// argument.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>

#include "automation/ObjectHolder.h"
#include "runtime/HeapOwner.h"
#include "runtime/TypedValue.h"

namespace vellumry::automation::calls {

using runtime::OwnedByteSet;
using runtime::OwnedText;
using runtime::TypedValue;

struct ObjectDeleter {
    void operator()(ObjectHolder* holder) const;
};
struct VariantDeleter {
    void operator()(VARIANT* variant) const;
};
using OwnedObject = std::unique_ptr<ObjectHolder, ObjectDeleter>;
using OwnedVariant = std::unique_ptr<VARIANT, VariantDeleter>;

// A new empty object, and a new variant holding the 32-bit integer 0, as new
// variables of these types start.
OwnedObject NewObject();
OwnedVariant NewVariant();

TypedValue Text(const char* text);
TypedValue ObjectArgument(ObjectHolder* holder);
TypedValue VariantArgument(VARIANT* variant);
// A by-reference argument naming a variable of `type` at `variable`.
TypedValue ByReference(runtime::DataTypeTag type, void* variable);

// `library` null: no type library is given.
bool CreateObject(ObjectHolder* holder, const char* name, const char* library = nullptr);
void ClearObject(ObjectHolder* holder);
bool IsEmptyObject(ObjectHolder* holder);
// `target` must be fresh (empty).
void CopyObject(ObjectHolder* target, ObjectHolder* source);

OwnedText ReadTextProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});
double ReadNumberProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});
OwnedObject ReadObjectProperty(ObjectHolder* holder, const char* name,
                               std::initializer_list<TypedValue> arguments = {});
OwnedVariant ReadProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});
// The member arguments, then the new value.
bool WriteProperty(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> argumentsAndValue);
void CallMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});
OwnedText CallTextMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});
OwnedObject CallObjectMethod(ObjectHolder* holder, const char* name, std::initializer_list<TypedValue> arguments = {});

bool AssignVariant(VARIANT* variant, const TypedValue& value, std::optional<std::int32_t> index = {});
OwnedText VariantToText(VARIANT* variant, std::optional<std::int32_t> index = {});
OwnedByteSet VariantToByteSet(VARIANT* variant, std::optional<std::int32_t> index = {});
// `target` must be fresh.
void CopyVariant(VARIANT* target, VARIANT* source);
void ClearVariant(VARIANT* variant);

}  // namespace vellumry::automation::calls
