// The dispatcher behind every DispatchTable; what it checks and in which order
// is described in DispatchObject.h.

#include <algorithm>
#include <span>

#include "platform/com/DispatchObject.h"

namespace vellumry::com {
namespace {

WORD FlagsOf(MemberKind kind)
{
    switch (kind) {
    case MemberKind::Method: return DISPATCH_METHOD;
    case MemberKind::PropertyGet: return DISPATCH_PROPERTYGET;
    case MemberKind::PropertyPut: return DISPATCH_PROPERTYPUT;
    case MemberKind::PropertyPutRef: return DISPATCH_PROPERTYPUTREF;
    case MemberKind::Variable: return DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
    }
    return 0;
}

bool IsMissing(const VARIANT& argument)
{
    return argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
}

// Brings one argument to its declared type and adds it to the call.
HRESULT AddArgument(InvokeCall& call, VARIANT& argument, VARTYPE declared)
{
    if (declared & VT_BYREF) {
        if (argument.vt != declared)
            return DISP_E_TYPEMISMATCH;
        call.AddBorrowed(&argument);
        return S_OK;
    }
    // A VARIANT parameter, or a value already of its type, is lent as it is.
    if (declared == VT_VARIANT || argument.vt == declared) {
        call.AddBorrowed(&argument);
        return S_OK;
    }
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = (declared & VT_ARRAY) && (argument.vt & ~VT_BYREF) != declared
                     ? DISP_E_TYPEMISMATCH
                     : VariantChangeType(&converted, &argument, 0, declared);
    if (FAILED(hr))
        return hr;
    call.AddOwned(converted);
    return S_OK;
}

void FillException(EXCEPINFO* exception, const InterfaceDescription& description, HRESULT code,
                   std::u16string_view text)
{
    if (!exception)
        return;
    *exception = EXCEPINFO{};
    exception->bstrSource = AllocBstr(description.name);
    exception->bstrDescription = AllocBstr(text);
    exception->scode = code;
}

}  // namespace

HRESULT DispatchInvoke(const InterfaceDescription& description, DISPID member, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError, MemberCall handle,
                       void* context)
{
    if (!params || (params->cArgs > 0 && !params->rgvarg) || params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
        return E_INVALIDARG;

    const auto& members = description.members;
    auto chosen = std::find_if(members.begin(), members.end(), [&](const MemberDescription& m) {
        return m.id == member && (FlagsOf(m.kind) & flags) != 0;
    });
    if (chosen == members.end())
        return DISP_E_MEMBERNOTFOUND;
    const MemberDescription& m = *chosen;
    std::size_t memberIndex = static_cast<std::size_t>(chosen - members.begin());

    bool put = m.kind == MemberKind::PropertyPut || m.kind == MemberKind::PropertyPutRef ||
               (m.kind == MemberKind::Variable && !(flags & DISPATCH_PROPERTYGET));
    UINT named = params->cNamedArgs;
    if (put) {
        if (named == 0)
            return DISP_E_PARAMNOTOPTIONAL;
        if (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_NONAMEDARGS;
    } else if (named != 0) {
        return DISP_E_NONAMEDARGS;
    }

    // The declared parameters that take positional arguments, and the type of
    // a put's value.
    std::span<const ParameterDescription> declared;
    VARTYPE valueType = VT_EMPTY;
    if (m.kind == MemberKind::Variable) {
        valueType = m.result;
    } else {
        declared = m.parameters;
        if (put && !declared.empty()) {
            valueType = declared.back().type;
            declared = declared.first(declared.size() - 1);
        }
    }
    bool variable = m.variableArguments && !declared.empty();
    std::size_t fixed = variable ? declared.size() - 1 : declared.size();
    std::size_t positional = params->cArgs - named;
    std::size_t required = 0;
    for (std::size_t i = 0; i < fixed; ++i)
        if (!(declared[i].flags & PARAMFLAG_FOPT))
            required = i + 1;
    if ((!variable && positional > fixed) || positional < required)
        return DISP_E_BADPARAMCOUNT;

    InvokeCall call;
    auto fail = [&](HRESULT hr, UINT position) {
        if (argumentError)
            *argumentError = position;
        return hr;
    };
    for (std::size_t i = 0; i < fixed; ++i) {
        if (i >= positional) {
            call.AddMissing();
            continue;
        }
        UINT position = static_cast<UINT>(params->cArgs - 1 - i);
        VARIANT& argument = params->rgvarg[position];
        if (IsMissing(argument)) {
            if (!(declared[i].flags & PARAMFLAG_FOPT))
                return fail(DISP_E_PARAMNOTOPTIONAL, position);
            call.AddMissing();
            continue;
        }
        HRESULT hr = AddArgument(call, argument, declared[i].type);
        if (FAILED(hr))
            return fail(hr, position);
    }
    for (std::size_t i = fixed; i < positional; ++i)
        call.AddRest(&params->rgvarg[params->cArgs - 1 - i]);
    if (put) {
        HRESULT hr = AddArgument(call, params->rgvarg[0], valueType);
        if (FAILED(hr))
            return fail(hr, 0);
    }

    HRESULT hr = handle(context, memberIndex, call);
    if (FAILED(hr)) {
        FillException(exception, description, hr, call.FailureDescription());
        return DISP_E_EXCEPTION;
    }
    VARIANT value = call.TakeResult();
    if (result && !put)
        *result = value;
    else
        VariantClear(&value);
    return S_OK;
}

}  // namespace vellumry::com
