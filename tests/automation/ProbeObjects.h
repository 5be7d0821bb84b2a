#pragma once

// Automation objects defined for the tests, with type information, that
// record how they were called.

#include <string>
#include <vector>

#include "platform/com/DispatchObject.h"
#include "platform/com/VariantApi.h"

namespace vellumry::test {

// What the last Invoke received: its flags, its named arguments and its
// arguments in the caller's order.
struct InvokeRecord {
    WORD flags = 0;
    std::vector<DISPID> named;
    std::vector<VARTYPE> types;
    std::vector<SCODE> errors;  // scode of VT_ERROR arguments, 0 otherwise
    std::vector<std::u16string> texts;  // BSTR arguments, "" otherwise
    std::vector<double> numbers;        // numeric arguments as doubles
};

// IProbe: Count (7), Name (get/put), Flag (a variable), Child (an object
// variable), Ratio (2.5), Stamp (a date), Join(text, [more]), Pair([a], [b]),
// Outputs(ref text in/out, ref integer out), Sum(values...), Make() -> a new
// probe, TakeUnknown(IUnknown), Fail().
class Probe final : public com::DispatchObject<Probe> {
public:
    static const com::DispatchTable<Probe>& Table();
    HRESULT Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError) override;

    static inline InvokeRecord last;
    static inline int alive = 0;
    Probe() { ++alive; }
    ~Probe() override { --alive; }

private:
    HRESULT Count(com::InvokeCall& call);
    HRESULT GetName(com::InvokeCall& call);
    HRESULT PutName(com::InvokeCall& call);
    HRESULT Flag(com::InvokeCall& call);
    HRESULT Child(com::InvokeCall& call);
    HRESULT Ratio(com::InvokeCall& call);
    HRESULT Stamp(com::InvokeCall& call);
    HRESULT Join(com::InvokeCall& call);
    HRESULT Pair(com::InvokeCall& call);
    HRESULT Outputs(com::InvokeCall& call);
    HRESULT Sum(com::InvokeCall& call);
    HRESULT Make(com::InvokeCall& call);
    HRESULT TakeUnknown(com::InvokeCall& call);
    HRESULT Fail(com::InvokeCall& call);

    std::u16string m_name = u"probe";
    bool m_flag = true;
    com::Ref<IDispatch> m_child;
};

// An IDispatch with type information ("Go", a method) whose Invoke answers
// with `result`.
class RawDispatch final : public com::ComImplementation<RawDispatch, IDispatch> {
public:
    explicit RawDispatch(HRESULT result) : m_result(result) {}
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return m_result;
    }
    // Without type information: GetTypeInfo fails.
    bool withoutTypeInfo = false;
    // With type information whose only name binds to a nested type.
    bool nestedType = false;

private:
    HRESULT m_result;
};

}  // namespace vellumry::test
