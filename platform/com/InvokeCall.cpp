#include "platform/com/InvokeCall.h"

namespace vellumry::com {

InvokeCall::~InvokeCall()
{
    for (VARIANT& value : m_owned)
        VariantClear(&value);
}

const VARIANT& InvokeCall::Argument(std::size_t i) const
{
    static const VARIANT kEmpty{};
    return IsGiven(i) ? *m_arguments[i] : kEmpty;
}

VARIANT& InvokeCall::Reference(std::size_t i)
{
    // Only by-reference parameters are borrowed variants the handler may
    // write through; the dispatcher guarantees the type.
    return *m_arguments.at(i);
}

void InvokeCall::AddOwned(VARIANT value)
{
    m_owned.push_back(value);
    m_arguments.push_back(&m_owned.back());
}

void InvokeCall::ReturnText(std::u16string_view text)
{
    VARIANT value{};
    value.vt = VT_BSTR;
    value.bstrVal = AllocBstr(text);
    ReturnVariant(value);
}

void InvokeCall::ReturnInt(LONG value)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    ReturnVariant(v);
}

void InvokeCall::ReturnBool(bool value)
{
    VARIANT v{};
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    ReturnVariant(v);
}

void InvokeCall::ReturnDouble(double value)
{
    VARIANT v{};
    v.vt = VT_R8;
    v.dblVal = value;
    ReturnVariant(v);
}

void InvokeCall::ReturnObject(Ref<IDispatch> object)
{
    VARIANT v{};
    v.vt = VT_DISPATCH;
    v.pdispVal = object.Detach();
    ReturnVariant(v);
}

void InvokeCall::ReturnVariant(VARIANT value)
{
    VariantClear(m_result.Ptr());
    m_result.Get() = value;
}

HRESULT InvokeCall::Fail(HRESULT code, std::u16string_view description)
{
    m_failure.assign(description);
    return FAILED(code) ? code : E_FAIL;
}

VARIANT InvokeCall::TakeResult()
{
    return m_result.Release();
}

}  // namespace vellumry::com
