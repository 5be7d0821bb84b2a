#pragma once

// A property read, a property write or a method call on an automation object
// by the member's name, the core of the read, write and call commands:
//  1. an empty holder gives -1, an object without IDispatch -2;
//  2. the object's type information (GetTypeInfo 0 in the user's default
//     locale, then its ITypeComp), else -4;
//  3. the name binds through ITypeComp::Bind with the invoke kinds tried in
//     order (read: get, method; write: put, putref, method; method: method,
//     get, put, putref); nothing, or a nested type, gives -3;
//  4. a function description gives the member, its invoke flags and its
//     parameters; a variable gives a get without parameters, or a put (a
//     putref for an interface or array type) of one value;
//  5. the arguments are those given, less trailing left-out ones; more than
//     declared gives -5 unless the member takes a variable argument list;
//  6. each is converted (ValueConversion.h) and placed in reverse order; a
//     left-out or empty one travels as VT_ERROR / DISP_E_PARAMNOTFOUND; for a
//     parameter passed by reference the value is changed to the declared type
//     and passed by reference (a VARIANT or array parameter gets a reference
//     to the variant or array), or passed as it is when it does not change;
//  7. a put names its value DISPID_PROPERTYPUT;
//  8. IDispatch::Invoke; a failing result becomes its code (-9 to -18);
//  9. output parameters go back into the caller's variables (for arguments
//     passed by reference), then the result is converted to `resultType`
//     (kNoType: none), else -8;
// 10. everything made for the call is released;
// 11. on failure the result is the empty value of `resultType`;
// 12. the code is stored as the thread's AutomationError.

#include <span>
#include <string_view>

#include "automation/ObjectHolder.h"
#include "runtime/DataTypeTag.h"
#include "runtime/TypedValue.h"

namespace vellumry::automation {

enum class MemberAccess { Read, Write, Method };

// `arguments` are the command's arguments after the member name. The result
// is owned by the caller (a new holder, variant block or text).
runtime::TypedValue InvokeByName(ObjectHolder* holder, MemberAccess access, std::string_view name,
                                 std::span<const runtime::TypedValue> arguments, runtime::DataTypeTag resultType);

}  // namespace vellumry::automation
