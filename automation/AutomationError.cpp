#include "automation/AutomationError.h"

namespace vellumry::automation {
namespace {

thread_local std::int32_t t_lastCode = kAutomationOk;

}  // namespace

std::int32_t AutomationError()
{
    return t_lastCode;
}

void SetAutomationError(std::int32_t code)
{
    t_lastCode = code;
}

std::int32_t CodeOfInvokeFailure(HRESULT hr)
{
    switch (hr) {
    case DISP_E_BADPARAMCOUNT: return kBadParamCount;
    case DISP_E_BADVARTYPE: return kBadVarType;
    case DISP_E_EXCEPTION: return kException;
    case DISP_E_MEMBERNOTFOUND: return kMemberNotFound;
    case DISP_E_NONAMEDARGS: return kNoNamedArgs;
    case DISP_E_OVERFLOW: return kOverflow;
    case DISP_E_PARAMNOTFOUND: return kParamNotFound;
    case DISP_E_TYPEMISMATCH: return kTypeMismatch;
    case DISP_E_PARAMNOTOPTIONAL: return kParamNotOptional;
    default: return kOtherFailure;
    }
}

}  // namespace vellumry::automation
