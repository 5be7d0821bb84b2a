#include "tests/platform/vbscript/RegExpClient.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ClassRegistry.h"
#include "platform/vbscript/RegExpComponent.h"

namespace vellumry::test {

VARIANT TextVariant(const std::u16string& text)
{
    VARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = com::AllocBstr(text);
    return v;
}

VARIANT BoolVariant(bool value)
{
    VARIANT v{};
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x80) {
            out += static_cast<char>(c);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "<%04X>", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

RegExpClient::RegExpClient()
{
    vbscript::RegisterRegExpComponent();
    CoInitialize(nullptr);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"VBScript.RegExp", &clsid), S_OK);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, m_object.PutVoid()), S_OK);
}

RegExpClient::~RegExpClient()
{
    m_object.Reset();
    CoUninitialize();
}

HRESULT RegExpClient::Invoke(IDispatch* object, const char16_t* name, WORD flags, std::vector<VARIANT> arguments,
                             VARIANT* result, SCODE* exceptionCode)
{
    std::u16string member(name);
    LPOLESTR names[] = {member.data()};
    DISPID id = 0;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0x0804, &id);
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    if (SUCCEEDED(hr)) {
        DISPID put = DISPID_PROPERTYPUT;
        bool isPut = flags == DISPATCH_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()),
                          isPut ? 1u : 0u};
        EXCEPINFO exception{};
        UINT argumentError = 0;
        hr = object->Invoke(id, IID_NULL, 0x0804, flags, &params, result, &exception, &argumentError);
        if (exceptionCode)
            *exceptionCode = exception.scode;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
    }
    for (VARIANT& v : reversed)
        VariantClear(&v);
    return hr;
}

HRESULT RegExpClient::Put(const char16_t* name, VARIANT value)
{
    com::ScopedVariant ignored;
    return Invoke(m_object.Get(), name, DISPATCH_PROPERTYPUT, {value}, ignored.Ptr());
}

void RegExpClient::Configure(const std::u16string& pattern, RegExpOptions options)
{
    EXPECT_EQ(Put(u"Pattern", TextVariant(pattern)), S_OK);
    EXPECT_EQ(Put(u"IgnoreCase", BoolVariant(options.ignoreCase)), S_OK);
    EXPECT_EQ(Put(u"Multiline", BoolVariant(options.multiline)), S_OK);
    EXPECT_EQ(Put(u"Global", BoolVariant(options.global)), S_OK);
}

std::string RegExpClient::Execute(const std::u16string& subject)
{
    com::ScopedVariant matches;
    SCODE code = 0;
    HRESULT hr = Invoke(m_object.Get(), u"Execute", DISPATCH_METHOD, {TextVariant(subject)}, matches.Ptr(), &code);
    if (FAILED(hr)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "error %08X", static_cast<unsigned>(code));
        return buffer;
    }
    IDispatch* collection = matches->pdispVal;
    com::ScopedVariant count;
    Invoke(collection, u"Count", DISPATCH_PROPERTYGET, {}, count.Ptr());
    std::string out;
    for (LONG i = 0; i < count->lVal; ++i) {
        VARIANT index{};
        index.vt = VT_I4;
        index.lVal = i;
        com::ScopedVariant match, first, length, value, subMatches, subCount;
        Invoke(collection, u"Item", DISPATCH_PROPERTYGET, {index}, match.Ptr());
        Invoke(match->pdispVal, u"FirstIndex", DISPATCH_PROPERTYGET, {}, first.Ptr());
        Invoke(match->pdispVal, u"Length", DISPATCH_PROPERTYGET, {}, length.Ptr());
        Invoke(match->pdispVal, u"Value", DISPATCH_PROPERTYGET, {}, value.Ptr());
        Invoke(match->pdispVal, u"SubMatches", DISPATCH_PROPERTYGET, {}, subMatches.Ptr());
        Invoke(subMatches->pdispVal, u"Count", DISPATCH_PROPERTYGET, {}, subCount.Ptr());
        if (!out.empty())
            out += ";";
        out += std::to_string(first->lVal) + "," + std::to_string(length->lVal) + "," +
               Narrow(com::BstrView(value->bstrVal));
        if (subCount->lVal > 0) {
            out += "[";
            for (LONG s = 0; s < subCount->lVal; ++s) {
                VARIANT subIndex{};
                subIndex.vt = VT_I4;
                subIndex.lVal = s;
                com::ScopedVariant sub;
                Invoke(subMatches->pdispVal, u"Item", DISPATCH_PROPERTYGET, {subIndex}, sub.Ptr());
                if (s > 0)
                    out += "|";
                out += sub->vt == VT_EMPTY ? "~" : Narrow(com::BstrView(sub->bstrVal));
            }
            out += "]";
        }
    }
    return out;
}

std::string RegExpClient::Replace(const std::u16string& subject, const std::u16string& replacement)
{
    com::ScopedVariant result;
    SCODE code = 0;
    HRESULT hr = Invoke(m_object.Get(), u"Replace", DISPATCH_METHOD,
                        {TextVariant(subject), TextVariant(replacement)}, result.Ptr(), &code);
    if (FAILED(hr)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "error %08X", static_cast<unsigned>(code));
        return buffer;
    }
    return Narrow(com::BstrView(result->bstrVal));
}

}  // namespace vellumry::test
