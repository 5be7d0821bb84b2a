#pragma once

// The code of the last property or method call on the calling thread: 0 after
// a success, otherwise one of the codes below. Every read, write and call
// command sets it; other threads keep their own.

#include <cstdint>

#include "platform/com/ComTypes.h"

namespace vellumry::automation {

enum AutomationErrorCode : std::int32_t {
    kAutomationOk = 0,
    kEmptyObject = -1,         // the ComObject is empty
    kNoDispatch = -2,          // the object has no IDispatch
    kNoSuchMember = -3,        // the name is no member, or names a nested type
    kNoTypeInformation = -4,   // GetTypeInfo or GetTypeComp failed
    kTooManyArguments = -5,    // more arguments than the member takes
    kArgumentRefused = -7,     // an argument of a type that cannot be passed
    kResultNotConverted = -8,  // the result cannot be converted to the type asked for
    kBadParamCount = -9,       // DISP_E_BADPARAMCOUNT
    kBadVarType = -10,         // DISP_E_BADVARTYPE
    kException = -11,          // DISP_E_EXCEPTION
    kMemberNotFound = -12,     // DISP_E_MEMBERNOTFOUND
    kNoNamedArgs = -13,        // DISP_E_NONAMEDARGS
    kOverflow = -14,           // DISP_E_OVERFLOW
    kParamNotFound = -15,      // DISP_E_PARAMNOTFOUND
    kTypeMismatch = -16,       // DISP_E_TYPEMISMATCH
    kParamNotOptional = -17,   // DISP_E_PARAMNOTOPTIONAL
    kOtherFailure = -18,       // any other failure of the call
};

std::int32_t AutomationError();
void SetAutomationError(std::int32_t code);

// The code for a failed IDispatch::Invoke.
std::int32_t CodeOfInvokeFailure(HRESULT hr);

}  // namespace vellumry::automation
