#include "tests/automation/ProbeObjects.h"

#include "platform/com/Bstr.h"
#include "platform/com/TypeDescription.h"

namespace vellumry::test {
namespace {

using com::InvokeCall;
using com::MemberKind;

constexpr IID kIidProbe = {0x55555555, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID kIidRaw = {0x66666666, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

const com::InterfaceDescription& RawInterface()
{
    static const com::InterfaceDescription description{u"IRaw", kIidRaw, {{u"Go", 1, MemberKind::Method, VT_I4}}};
    return description;
}

// Type information in which every name binds to a nested type.
class NestedTypeInfo final : public com::ComImplementation<NestedTypeInfo, ITypeInfo, ITypeComp> {
public:
    HRESULT GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
    HRESULT GetTypeComp(ITypeComp** typeComp) override
    {
        return QueryInterface(IID_ITypeComp, reinterpret_cast<void**>(typeComp));
    }
    HRESULT GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
    HRESULT GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    HRESULT GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
    HRESULT GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    HRESULT GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    HRESULT GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) override { return E_NOTIMPL; }
    HRESULT GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    void ReleaseTypeAttr(TYPEATTR*) override {}
    void ReleaseFuncDesc(FUNCDESC*) override {}
    void ReleaseVarDesc(VARDESC*) override {}

    HRESULT Bind(LPOLESTR, ULONG, WORD, ITypeInfo** typeInfo, DESCKIND* kind, BINDPTR* bound) override
    {
        *typeInfo = nullptr;
        *kind = DESCKIND_TYPECOMP;
        AddRef();
        bound->lptcomp = this;
        return S_OK;
    }
    HRESULT BindType(LPOLESTR, ULONG, ITypeInfo**, ITypeComp**) override { return E_NOTIMPL; }
};

}  // namespace

const com::DispatchTable<Probe>& Probe::Table()
{
    constexpr USHORT kOptional = PARAMFLAG_FIN | PARAMFLAG_FOPT;
    constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    static const com::DispatchTable<Probe> table(
        u"IProbe", kIidProbe,
        {
            {{u"Count", 1, MemberKind::PropertyGet, VT_I4}, &Probe::Count},
            {{u"Name", 2, MemberKind::PropertyGet, VT_BSTR}, &Probe::GetName},
            {{u"Name", 2, MemberKind::PropertyPut, VT_EMPTY, {{u"value", VT_BSTR}}}, &Probe::PutName},
            {{u"Flag", 3, MemberKind::Variable, VT_BOOL}, &Probe::Flag},
            {{u"Child", 4, MemberKind::Variable, VT_DISPATCH}, &Probe::Child},
            {{u"Ratio", 5, MemberKind::PropertyGet, VT_R8}, &Probe::Ratio},
            {{u"Stamp", 6, MemberKind::PropertyGet, VT_DATE}, &Probe::Stamp},
            {{u"Join", 7, MemberKind::Method, VT_BSTR, {{u"text", VT_BSTR}, {u"more", VT_VARIANT, kOptional}}},
             &Probe::Join},
            {{u"Pair", 8, MemberKind::Method, VT_EMPTY, {{u"a", VT_VARIANT, kOptional}, {u"b", VT_VARIANT, kOptional}}},
             &Probe::Pair},
            {{u"Outputs", 9, MemberKind::Method, VT_EMPTY,
              {{u"text", VT_BYREF | VT_BSTR, kInOut}, {u"number", VT_BYREF | VT_I4, PARAMFLAG_FOUT}}},
             &Probe::Outputs},
            {{u"Sum", 10, MemberKind::Method, VT_I4, {{u"values", VT_ARRAY | VT_VARIANT}}, true}, &Probe::Sum},
            {{u"Make", 11, MemberKind::Method, VT_DISPATCH}, &Probe::Make},
            {{u"TakeUnknown", 12, MemberKind::Method, VT_EMPTY, {{u"object", VT_UNKNOWN}}}, &Probe::TakeUnknown},
            {{u"Fail", 13, MemberKind::Method}, &Probe::Fail},
        });
    return table;
}

HRESULT Probe::Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError)
{
    last = InvokeRecord{};
    last.flags = flags;
    if (params) {
        last.named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& argument = params->rgvarg[i];
            last.types.push_back(argument.vt);
            last.errors.push_back(argument.vt == VT_ERROR ? argument.scode : 0);
            last.texts.push_back(argument.vt == VT_BSTR ? std::u16string(com::BstrView(argument.bstrVal)) : u"");
            com::ScopedVariant number;
            bool numeric = argument.vt != VT_BSTR && argument.vt != VT_ERROR &&
                           SUCCEEDED(VariantChangeType(number.Ptr(), &argument, VARIANT_NOVALUEPROP, VT_R8));
            last.numbers.push_back(numeric ? number->dblVal : 0);
        }
    }
    return DispatchObject<Probe>::Invoke(member, riid, lcid, flags, params, result, exception, argumentError);
}

HRESULT Probe::Count(InvokeCall& call)
{
    call.ReturnInt(7);
    return S_OK;
}

HRESULT Probe::GetName(InvokeCall& call)
{
    call.ReturnText(m_name);
    return S_OK;
}

HRESULT Probe::PutName(InvokeCall& call)
{
    m_name = call.Text(0);
    return S_OK;
}

HRESULT Probe::Flag(InvokeCall& call)
{
    if (call.Count() == 1)
        m_flag = call.Bool(0);
    else
        call.ReturnBool(m_flag);
    return S_OK;
}

HRESULT Probe::Child(InvokeCall& call)
{
    if (call.Count() == 1)
        m_child = com::Ref<IDispatch>(call.Object(0));
    else
        call.ReturnObject(m_child);
    return S_OK;
}

HRESULT Probe::Ratio(InvokeCall& call)
{
    call.ReturnDouble(2.5);
    return S_OK;
}

HRESULT Probe::Stamp(InvokeCall& call)
{
    VARIANT date{};
    date.vt = VT_DATE;
    date.date = 45306.5;
    call.ReturnVariant(date);
    return S_OK;
}

HRESULT Probe::Join(InvokeCall& call)
{
    std::u16string text(call.Text(0));
    if (call.IsGiven(1)) {
        com::ScopedVariant more;
        if (SUCCEEDED(VariantChangeType(more.Ptr(), &call.Argument(1), 0, VT_BSTR)))
            text += com::BstrView(more->bstrVal);
    }
    call.ReturnText(text);
    return S_OK;
}

HRESULT Probe::Pair(InvokeCall&)
{
    return S_OK;
}

HRESULT Probe::Outputs(InvokeCall& call)
{
    VARIANT& text = call.Reference(0);
    std::u16string joined(com::BstrView(*text.pbstrVal));
    joined += u"!";
    SysFreeString(*text.pbstrVal);
    *text.pbstrVal = com::AllocBstr(joined);
    *call.Reference(1).plVal = 42;
    return S_OK;
}

HRESULT Probe::Sum(InvokeCall& call)
{
    LONG sum = 0;
    for (VARIANT* value : call.Rest()) {
        com::ScopedVariant number;
        if (FAILED(VariantChangeType(number.Ptr(), value, 0, VT_I4)))
            return call.Fail(DISP_E_TYPEMISMATCH, u"not a number");
        sum += number->lVal;
    }
    call.ReturnInt(sum);
    return S_OK;
}

HRESULT Probe::Make(InvokeCall& call)
{
    call.ReturnObject(com::MakeObject<Probe>());
    return S_OK;
}

HRESULT Probe::TakeUnknown(InvokeCall&)
{
    return S_OK;
}

HRESULT Probe::Fail(InvokeCall& call)
{
    return call.Fail(E_FAIL, u"failed on purpose");
}

HRESULT RawDispatch::GetTypeInfoCount(UINT* count)
{
    *count = withoutTypeInfo ? 0 : 1;
    return S_OK;
}

HRESULT RawDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo)
{
    *typeInfo = nullptr;
    if (withoutTypeInfo)
        return E_NOTIMPL;
    if (nestedType) {
        *typeInfo = com::MakeObject<NestedTypeInfo>().Detach();
        return S_OK;
    }
    static const com::Ref<ITypeInfo> info = com::MakeInterfaceTypeInfo(RawInterface());
    info->AddRef();
    *typeInfo = info.Get();
    return S_OK;
}

}  // namespace vellumry::test
