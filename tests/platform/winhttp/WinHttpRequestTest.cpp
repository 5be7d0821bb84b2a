#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ByteArray.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "platform/net/HttpTransfer.h"
#include "platform/winhttp/WinHttpRequestComponent.h"
#include "tests/support/LoopbackHttpServer.h"

namespace {

using namespace vellumry::com;
using vellumry::test::LoopbackHttpServer;
using vellumry::test::Respond;
using vellumry::test::ServedRequest;

constexpr HRESULT kCannotCallBeforeOpen = MakeHresult(0x80072F44);
constexpr HRESULT kCannotCallBeforeSend = MakeHresult(0x80072F45);
constexpr HRESULT kCannotCallAfterSend = MakeHresult(0x80072F46);
constexpr HRESULT kInvalidUrl = MakeHresult(0x80072EE5);
constexpr HRESULT kUnrecognizedScheme = MakeHresult(0x80072EE6);
constexpr HRESULT kInvalidHeader = MakeHresult(0x80072F79);
constexpr HRESULT kCannotConnect = MakeHresult(0x80072EFD);

std::u16string Wide(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

VARIANT Text(const std::u16string& text)
{
    VARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = AllocBstr(text);
    return v;
}

VARIANT Int(LONG value)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Bool(bool value)
{
    VARIANT v{};
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Bytes(const std::string& bytes)
{
    VARIANT v;
    MakeByteArrayVariant({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, 1, &v);
    return v;
}

// One call by name, as an automation client makes it: the outcome is the
// HRESULT, or for DISP_E_EXCEPTION the component's own code.
struct Call {
    HRESULT hr = S_OK;
    ScopedVariant result;

    Call(IDispatch* object, const char16_t* name, WORD flags, std::vector<VARIANT> arguments = {})
    {
        std::u16string text(name);
        LPOLESTR names[] = {text.data()};
        DISPID id = 0;
        hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPID put = DISPID_PROPERTYPUT;
        bool isPut = flags == DISPATCH_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
        EXCEPINFO exception{};
        if (SUCCEEDED(hr))
            hr = object->Invoke(id, IID_NULL, 0, flags, &params, result.Ptr(), &exception, nullptr);
        if (hr == DISP_E_EXCEPTION)
            hr = exception.scode;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        for (VARIANT& v : reversed)
            VariantClear(&v);
    }
};

class WinHttpRequest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        vellumry::winhttp::RegisterWinHttpRequestComponent();
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(u"WinHttp.WinHttpRequest.5.1", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, m_object.PutVoid()), S_OK);
    }
    void TearDown() override
    {
        m_object = Ref<IDispatch>();
        CoUninitialize();
        vellumry::net::DropIdleConnections();
    }

    HRESULT Method(const char16_t* name, std::vector<VARIANT> arguments = {})
    {
        return Call(m_object.Get(), name, DISPATCH_METHOD, std::move(arguments)).hr;
    }
    HRESULT Open(const std::string& url, const char16_t* verb = u"GET")
    {
        return Method(u"Open", {Text(verb), Text(Wide(url)), Bool(false)});
    }

    Ref<IDispatch> m_object;
};

TEST_F(WinHttpRequest, MembersKeepTheirOrder)
{
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"A"), Text(u"1")}), kCannotCallBeforeOpen);
    EXPECT_EQ(Method(u"Send"), kCannotCallBeforeOpen);
    EXPECT_EQ(Call(m_object.Get(), u"Status", DISPATCH_PROPERTYGET).hr, kCannotCallBeforeSend);
    EXPECT_EQ(Call(m_object.Get(), u"ResponseBody", DISPATCH_PROPERTYGET).hr, kCannotCallBeforeSend);
    EXPECT_EQ(Method(u"GetAllResponseHeaders"), kCannotCallBeforeSend);

    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, "ok"); });
    ASSERT_EQ(Open(server.Url("/")), S_OK);
    ASSERT_EQ(Method(u"Send"), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"A"), Text(u"1")}), kCannotCallAfterSend);
    EXPECT_EQ(Method(u"Send"), kCannotCallAfterSend);
    ASSERT_EQ(Open(server.Url("/again")), S_OK) << "a new Open starts a new request";
    EXPECT_EQ(Call(m_object.Get(), u"Status", DISPATCH_PROPERTYGET).hr, kCannotCallBeforeSend);
}

TEST_F(WinHttpRequest, OpenChecksItsArguments)
{
    EXPECT_EQ(Open("ftp://127.0.0.1/x"), kUnrecognizedScheme);
    EXPECT_EQ(Open("no address"), kInvalidUrl);
    EXPECT_EQ(Method(u"Open", {Text(u"G ET"), Text(u"http://127.0.0.1/"), Bool(false)}), E_INVALIDARG);
    EXPECT_EQ(Method(u"Open", {Text(u"GET"), Text(u"http://127.0.0.1/"), Bool(true)}), E_NOTIMPL)
        << "only synchronous requests";
    EXPECT_EQ(Method(u"Open", {Text(u"GET"), Text(u"http://127.0.0.1/")}), S_OK) << "synchronous when left out";
}

TEST_F(WinHttpRequest, HeadersAreReplacedRemovedAndChecked)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    ASSERT_EQ(Open(server.Url("/h")), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"X-A"), Text(u"1")}), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"x-a"), Text(u"2")}), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"X-Gone"), Text(u"1")}), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"X-Gone"), Text(u"")}), S_OK);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"Bad:Name"), Text(u"1")}), kInvalidHeader);
    EXPECT_EQ(Method(u"SetRequestHeader", {Text(u"X-B"), Text(u"1\r\nX-Injected: 1")}), kInvalidHeader);
    ASSERT_EQ(Method(u"Send"), S_OK);
    ServedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Header("X-A"), "2");
    EXPECT_EQ(request.Header("X-Gone"), "");
    EXPECT_EQ(request.Header("X-Injected"), "");
    EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)")
        << "the component's own agent";
}

TEST_F(WinHttpRequest, BodiesGoAsUtf8TextOrBytesButNotWithGet)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, ""); });
    ASSERT_EQ(Open(server.Url("/t"), u"POST"), S_OK);
    ASSERT_EQ(Method(u"Send", {Text(u"\u56fe=1")}), S_OK);
    ASSERT_EQ(Open(server.Url("/get")), S_OK);
    ASSERT_EQ(Method(u"Send", {Text(u"dropped")}), S_OK);
    ASSERT_EQ(Open(server.Url("/b"), u"PUT"), S_OK);
    ASSERT_EQ(Method(u"Send", {Bytes(std::string("\x00\xFF", 2))}), S_OK);
    std::vector<ServedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].body, "\xE5\x9B\xBE=1");
    EXPECT_EQ(requests[1].body, "");
    EXPECT_EQ(requests[1].Header("Content-Length"), "");
    EXPECT_EQ(requests[2].body, std::string("\x00\xFF", 2));
}

TEST_F(WinHttpRequest, OptionsAndTimeoutsAreChecked)
{
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYGET, {Int(6)}).result->boolVal, VARIANT_TRUE);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYGET, {Int(4)}).result->lVal, 0);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYPUT, {Int(4), Int(0x3300)}).hr, S_OK);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYGET, {Int(4)}).result->lVal, 0x3300);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYPUT, {Int(4), Int(0x8000)}).hr, E_INVALIDARG);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYPUT, {Int(6), Int(0)}).hr, S_OK);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYGET, {Int(6)}).result->boolVal, VARIANT_FALSE);
    EXPECT_EQ(Call(m_object.Get(), u"Option", DISPATCH_PROPERTYGET, {Int(99)}).hr, E_INVALIDARG);
    EXPECT_EQ(Method(u"SetTimeouts", {Int(0), Int(-1), Int(5), Int(5)}), S_OK);
    EXPECT_EQ(Method(u"SetTimeouts", {Int(0), Int(-2), Int(5), Int(5)}), E_INVALIDARG);
    EXPECT_EQ(Method(u"SetProxy", {Int(2)}), E_INVALIDARG) << "a proxy setting needs a server";
    EXPECT_EQ(Method(u"SetProxy", {Int(7)}), E_INVALIDARG);
    EXPECT_EQ(Method(u"SetProxy", {Int(1)}), S_OK);
}

TEST_F(WinHttpRequest, ProxyBypassListIsHonoured)
{
    LoopbackHttpServer direct([](const ServedRequest&) { return Respond(200, "direct"); });
    std::string port = std::to_string(vellumry::test::ClosedPort());
    ASSERT_EQ(Method(u"SetProxy", {Int(2), Text(Wide("127.0.0.1:" + port)), Text(u"127.0.0.*")}),
              S_OK);
    ASSERT_EQ(Open(direct.Url("/d")), S_OK);
    EXPECT_EQ(Method(u"Send"), S_OK);
    ASSERT_EQ(Method(u"SetProxy", {Int(2), Text(Wide("127.0.0.1:" + port))}), S_OK);
    ASSERT_EQ(Open(direct.Url("/p")), S_OK);
    EXPECT_EQ(Method(u"Send"), kCannotConnect) << "through the proxy, which is not there";
}

TEST_F(WinHttpRequest, ResponseBodyIsAByteArray)
{
    LoopbackHttpServer server([](const ServedRequest&) { return Respond(200, std::string("a\0b", 3), {"X-Head: h"}); });
    ASSERT_EQ(Open(server.Url("/r")), S_OK);
    ASSERT_EQ(Method(u"Send"), S_OK);
    Call body(m_object.Get(), u"ResponseBody", DISPATCH_PROPERTYGET);
    ASSERT_EQ(body.result->vt, VT_ARRAY | VT_UI1);
    LONG lower = -1;
    SafeArrayGetLBound(body.result->parray, 1, &lower);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(std::string(static_cast<const char*>(body.result->parray->pvData), SafeArrayElementCount(body.result->parray)),
              std::string("a\0b", 3));
    Call headers(m_object.Get(), u"GetAllResponseHeaders", DISPATCH_METHOD);
    EXPECT_EQ(std::u16string(BstrView(headers.result->bstrVal)), u"X-Head: h\r\nContent-Length: 3\r\n\r\n");
    EXPECT_EQ(Call(m_object.Get(), u"Status", DISPATCH_PROPERTYGET).result->lVal, 200);
}

}  // namespace
