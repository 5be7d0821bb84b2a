#include "platform/winhttp/private/WinHttpRequestObject.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "platform/codepage/CodePage.h"
#include "platform/com/ByteArray.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "platform/net/CertificateErrors.h"
#include "platform/winhttp/private/WinHttpErrors.h"

namespace vellumry::winhttp {
namespace {

using com::InvokeCall;
using com::MemberKind;

constexpr DISPID kOpenId = 1;
constexpr DISPID kSetRequestHeaderId = 2;
constexpr DISPID kGetAllResponseHeadersId = 4;
constexpr DISPID kSendId = 5;
constexpr DISPID kOptionId = 6;
constexpr DISPID kStatusId = 7;
constexpr DISPID kResponseBodyId = 10;
constexpr DISPID kSetProxyId = 13;
constexpr DISPID kSetTimeoutsId = 16;

// The Option indexes offered.
constexpr LONG kOptionSslErrorIgnoreFlags = 4;
constexpr LONG kOptionEnableRedirects = 6;
constexpr LONG kOptionEnableHttpsToHttpRedirects = 12;

// The SetProxy settings.
constexpr LONG kProxySettingPreconfig = 0;
constexpr LONG kProxySettingDirect = 1;
constexpr LONG kProxySettingProxy = 2;

constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";

HRESULT Fail(InvokeCall& call, const WinHttpFailure& failure)
{
    return call.Fail(failure.code, failure.description);
}

// The variant behind any number of by-reference variants.
const VARIANT& Resolved(const VARIANT& value)
{
    const VARIANT* current = &value;
    while (current->vt == (VT_BYREF | VT_VARIANT) && current->pvarVal != nullptr)
        current = current->pvarVal;
    return *current;
}

bool IsMissing(const VARIANT& value)
{
    return value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

// A value changed to `type`; false when it does not change.
bool ChangeTo(const VARIANT& value, VARTYPE type, com::ScopedVariant& out)
{
    return SUCCEEDED(VariantChangeType(out.Ptr(), &value, 0, type));
}

bool IsTokenCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// The bytes a Send body stands for; false for a value that is no body.
bool BodyBytes(const VARIANT& argument, std::vector<std::uint8_t>& bytes, bool& present)
{
    const VARIANT& value = Resolved(argument);
    present = !IsMissing(value) && value.vt != VT_NULL;
    if (!present)
        return true;
    SAFEARRAY* array = nullptr;
    if (value.vt == (VT_ARRAY | VT_UI1) || value.vt == (VT_ARRAY | VT_I1))
        array = value.parray;
    else if (value.vt == (VT_BYREF | VT_ARRAY | VT_UI1) || value.vt == (VT_BYREF | VT_ARRAY | VT_I1))
        array = value.pparray ? *value.pparray : nullptr;
    if (array != nullptr || (value.vt & VT_ARRAY) != 0) {
        if (array == nullptr || SafeArrayGetDim(array) != 1)
            return false;
        std::size_t count = com::SafeArrayElementCount(array);
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(array, &data)))
            return false;
        const auto* first = static_cast<const std::uint8_t*>(data);
        bytes.assign(first, first + count);
        SafeArrayUnaccessData(array);
        return true;
    }
    com::ScopedVariant text;
    if (!ChangeTo(value, VT_BSTR, text))
        return false;
    std::string utf8 = codepage::Utf16ToUtf8(com::BstrView(text->bstrVal));
    bytes.assign(utf8.begin(), utf8.end());
    return true;
}

// A time-out as SetTimeouts takes it: 0 and -1 wait forever.
std::int32_t Limit(LONG milliseconds)
{
    return milliseconds > 0 ? milliseconds : 0;
}

}  // namespace

const com::DispatchTable<WinHttpRequestObject>& WinHttpRequestObject::Table()
{
    using R = WinHttpRequestObject;
    constexpr USHORT kOptional = PARAMFLAG_FIN | PARAMFLAG_FOPT;
    static const com::DispatchTable<WinHttpRequestObject> table(
        u"IWinHttpRequest", kIidWinHttpRequest,
        {
            {{u"SetProxy",
              kSetProxyId,
              MemberKind::Method,
              VT_EMPTY,
              {{u"ProxySetting", VT_I4}, {u"ProxyServer", VT_VARIANT, kOptional}, {u"BypassList", VT_VARIANT, kOptional}}},
             &R::SetProxy},
            {{u"Open",
              kOpenId,
              MemberKind::Method,
              VT_EMPTY,
              {{u"Method", VT_BSTR}, {u"Url", VT_BSTR}, {u"Async", VT_VARIANT, kOptional}}},
             &R::Open},
            {{u"SetRequestHeader", kSetRequestHeaderId, MemberKind::Method, VT_EMPTY, {{u"Header", VT_BSTR}, {u"Value", VT_BSTR}}},
             &R::SetRequestHeader},
            {{u"GetAllResponseHeaders", kGetAllResponseHeadersId, MemberKind::Method, VT_BSTR}, &R::GetAllResponseHeaders},
            {{u"Send", kSendId, MemberKind::Method, VT_EMPTY, {{u"Body", VT_VARIANT, kOptional}}}, &R::Send},
            {{u"Option", kOptionId, MemberKind::PropertyGet, VT_VARIANT, {{u"Option", VT_I4}}}, &R::GetOption},
            {{u"Option", kOptionId, MemberKind::PropertyPut, VT_EMPTY, {{u"Option", VT_I4}, {u"Value", VT_VARIANT}}},
             &R::PutOption},
            {{u"Status", kStatusId, MemberKind::PropertyGet, VT_I4}, &R::GetStatus},
            {{u"ResponseBody", kResponseBodyId, MemberKind::PropertyGet, VT_VARIANT}, &R::GetResponseBody},
            {{u"SetTimeouts",
              kSetTimeoutsId,
              MemberKind::Method,
              VT_EMPTY,
              {{u"ResolveTimeout", VT_I4}, {u"ConnectTimeout", VT_I4}, {u"SendTimeout", VT_I4}, {u"ReceiveTimeout", VT_I4}}},
             &R::SetTimeouts},
        });
    return table;
}

HRESULT WinHttpRequestObject::SetTimeouts(InvokeCall& call)
{
    LONG resolve = call.Int(0);
    LONG connect = call.Int(1);
    LONG send = call.Int(2);
    LONG receive = call.Int(3);
    if (resolve < -1 || connect < -1 || send < -1 || receive < -1)
        return Fail(call, kInvalidArgument);
    // Resolving and connecting share libcurl's connect limit.
    std::int64_t connectLimit = Limit(connect) == 0 ? 0 : std::int64_t{Limit(connect)} + Limit(resolve);
    m_timeouts.connectMs = static_cast<std::int32_t>(std::min<std::int64_t>(connectLimit, INT_MAX));
    m_timeouts.receiveMs = Limit(receive) == 0 ? 0 : std::max(Limit(receive), Limit(send));
    return S_OK;
}

HRESULT WinHttpRequestObject::SetProxy(InvokeCall& call)
{
    switch (call.Int(0)) {
    case kProxySettingPreconfig:
    case kProxySettingDirect:
        m_proxies = net::ProxyList();
        return S_OK;
    case kProxySettingProxy:
        break;
    default:
        return Fail(call, kInvalidArgument);
    }
    com::ScopedVariant server;
    if (!call.IsGiven(1) || !ChangeTo(Resolved(call.Argument(1)), VT_BSTR, server) ||
        com::BstrView(server->bstrVal).empty())
        return Fail(call, kInvalidArgument);
    com::ScopedVariant bypass;
    std::string bypassList;
    if (call.IsGiven(2) && !IsMissing(Resolved(call.Argument(2)))) {
        if (!ChangeTo(Resolved(call.Argument(2)), VT_BSTR, bypass))
            return Fail(call, kInvalidArgument);
        bypassList = codepage::Utf16ToUtf8(com::BstrView(bypass->bstrVal));
    }
    m_proxies = net::ProxyList::Parse(codepage::Utf16ToUtf8(com::BstrView(server->bstrVal)), bypassList);
    return S_OK;
}

HRESULT WinHttpRequestObject::Open(InvokeCall& call)
{
    std::string verb = codepage::Utf16ToUtf8(call.Text(0));
    if (verb.empty() || !std::all_of(verb.begin(), verb.end(), IsTokenCharacter))
        return Fail(call, kInvalidArgument);
    if (call.IsGiven(2) && !IsMissing(Resolved(call.Argument(2)))) {
        com::ScopedVariant async;
        if (!ChangeTo(Resolved(call.Argument(2)), VT_BOOL, async))
            return Fail(call, kInvalidArgument);
        if (async->boolVal != VARIANT_FALSE)
            return Fail(call, kNoAsynchronousRequests);
    }
    std::string url = codepage::Utf16ToUtf8(call.Text(1));
    switch (net::CheckAddress(url)) {
    case net::TransferError::None:
        break;
    case net::TransferError::UnsupportedScheme:
        return Fail(call, kUnrecognizedScheme);
    default:
        return Fail(call, kInvalidUrl);
    }
    m_state = State::Opened;
    m_verb = std::move(verb);
    m_url = std::move(url);
    m_headers.clear();
    m_response = {};
    return S_OK;
}

std::vector<std::pair<std::string, std::string>>::iterator WinHttpRequestObject::FindHeader(const std::string& name)
{
    return std::find_if(m_headers.begin(), m_headers.end(),
                        [&](const auto& header) { return EqualsIgnoringCase(header.first, name); });
}

HRESULT WinHttpRequestObject::SetRequestHeader(InvokeCall& call)
{
    if (m_state == State::Created)
        return Fail(call, kCannotCallBeforeOpen);
    if (m_state == State::Responded)
        return Fail(call, kCannotCallAfterSend);
    std::string name = codepage::Utf16ToGbk(call.Text(0));
    std::string value = codepage::Utf16ToGbk(call.Text(1));
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsTokenCharacter) ||
        value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return Fail(call, kInvalidHeader);
    auto existing = FindHeader(name);
    if (value.empty()) {
        if (existing != m_headers.end())
            m_headers.erase(existing);
    } else if (existing != m_headers.end()) {
        existing->second = std::move(value);
    } else {
        m_headers.emplace_back(std::move(name), std::move(value));
    }
    return S_OK;
}

HRESULT WinHttpRequestObject::Send(InvokeCall& call)
{
    if (m_state == State::Created)
        return Fail(call, kCannotCallBeforeOpen);
    if (m_state == State::Responded)
        return Fail(call, kCannotCallAfterSend);

    net::TransferRequest request;
    request.verb = m_verb;
    request.url = m_url;
    bool hasBody = false;
    if (call.IsGiven(0) && !BodyBytes(call.Argument(0), request.body, hasBody))
        return Fail(call, {DISP_E_TYPEMISMATCH, u"The body is neither a text nor an array of bytes"});
    // A GET sends no body, whatever it was given.
    request.sendBody = hasBody && m_verb != "GET" && m_verb != "HEAD";
    if (!request.sendBody)
        request.body.clear();
    for (const auto& [name, value] : m_headers)
        request.headers.push_back(name + ": " + value);
    if (FindHeader("User-Agent") == m_headers.end())
        request.userAgent = kDefaultAgent;
    request.proxies = m_proxies;
    request.redirects.follow = m_followRedirects;
    request.redirects.allowHttpToHttps = true;
    request.redirects.allowHttpsToHttp = m_followHttpsToHttp;
    request.timeouts = m_timeouts;
    request.ignoredCertificateErrors = m_ignoredCertificateErrors;
    request.cookies = &m_cookies;

    net::TransferResult response = net::PerformTransfer(request);
    if (response.error != net::TransferError::None)
        return Fail(call, FailureOf(response.error));
    m_response = std::move(response);
    m_state = State::Responded;
    return S_OK;
}

HRESULT WinHttpRequestObject::GetOption(InvokeCall& call)
{
    switch (call.Int(0)) {
    case kOptionSslErrorIgnoreFlags:
        call.ReturnInt(static_cast<LONG>(m_ignoredCertificateErrors));
        return S_OK;
    case kOptionEnableRedirects:
        call.ReturnBool(m_followRedirects);
        return S_OK;
    case kOptionEnableHttpsToHttpRedirects:
        call.ReturnBool(m_followHttpsToHttp);
        return S_OK;
    default:
        return Fail(call, kInvalidArgument);
    }
}

HRESULT WinHttpRequestObject::PutOption(InvokeCall& call)
{
    const VARIANT& value = Resolved(call.Argument(1));
    com::ScopedVariant changed;
    switch (call.Int(0)) {
    case kOptionSslErrorIgnoreFlags:
        if (!ChangeTo(value, VT_I4, changed) ||
            (static_cast<std::uint32_t>(changed->lVal) & ~net::kAllCertificateErrors) != 0)
            return Fail(call, kInvalidArgument);
        m_ignoredCertificateErrors = static_cast<std::uint32_t>(changed->lVal);
        return S_OK;
    case kOptionEnableRedirects:
    case kOptionEnableHttpsToHttpRedirects:
        if (!ChangeTo(value, VT_BOOL, changed))
            return Fail(call, kInvalidArgument);
        (call.Int(0) == kOptionEnableRedirects ? m_followRedirects : m_followHttpsToHttp) =
            changed->boolVal != VARIANT_FALSE;
        return S_OK;
    default:
        return Fail(call, kInvalidArgument);
    }
}

HRESULT WinHttpRequestObject::GetStatus(InvokeCall& call)
{
    if (m_state != State::Responded)
        return Fail(call, kCannotCallBeforeSend);
    call.ReturnInt(m_response.status);
    return S_OK;
}

HRESULT WinHttpRequestObject::GetResponseBody(InvokeCall& call)
{
    if (m_state != State::Responded)
        return Fail(call, kCannotCallBeforeSend);
    VARIANT value;
    if (!com::MakeByteArrayVariant(m_response.body, 0, &value))
        return Fail(call, FailureOf(net::TransferError::OutOfMemory));
    call.ReturnVariant(value);
    return S_OK;
}

HRESULT WinHttpRequestObject::GetAllResponseHeaders(InvokeCall& call)
{
    if (m_state != State::Responded)
        return Fail(call, kCannotCallBeforeSend);
    std::string_view headers = m_response.rawHeaders;
    std::size_t statusEnd = headers.find("\r\n");
    headers.remove_prefix(statusEnd == std::string_view::npos ? headers.size() : statusEnd + 2);
    call.ReturnText(codepage::GbkToUtf16(headers));
    return S_OK;
}

}  // namespace vellumry::winhttp
