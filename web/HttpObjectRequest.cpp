#include "web/HttpObjectRequest.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "automation/AutomationCalls.h"
#include "runtime/DataTypeTag.h"
#include "runtime/commands/TextWalks.h"
#include "runtime/commands/ValueConversion.h"
#include "web/Base64.h"
#include "web/ComInit.h"
#include "web/HeaderText.h"
#include "web/RequestHeaders.h"
#include "web/ResponseCookies.h"
#include "web/WebTexts.h"
#include "web/private/OutArguments.h"

namespace vellumry::web {
namespace {

using runtime::OwnedByteSet;
using runtime::TextView;
using runtime::TypedValue;
namespace calls = automation::calls;

constexpr std::int32_t kDefaultTimeoutMs = 15000;
constexpr std::int32_t kKeepComponentTimeouts = -1;
constexpr std::int32_t kProxySettingProxy = 2;
constexpr std::int32_t kOptionSslErrorIgnoreFlags = 4;
constexpr std::int32_t kOptionEnableRedirects = 6;
// Untrusted authority, wrong usage, name mismatch and invalid date: pictures
// are fetched whatever their host's certificate.
constexpr std::int32_t kIgnoredCertificateErrors = 0x3300;
constexpr std::int32_t kSendsProxyCredentials = 1;

TypedValue Int(std::int32_t value)
{
    return TypedValue::OfInt(value);
}

void SetRequestHeader(automation::ObjectHolder* request, const std::string& name, const std::string& value)
{
    calls::CallMethod(request, texts::kSetRequestHeaderMember, {calls::Text(name.c_str()), calls::Text(value.c_str())});
}

// The time-out in milliseconds for all four of SetTimeouts.
std::int32_t TimeoutMs(std::int32_t seconds)
{
    if (seconds < 1)
        return kDefaultTimeoutMs;
    return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{seconds} * 1000, INT_MAX));
}

}  // namespace

OwnedByteSet HttpObjectRequest(const char* addressText, const HttpObjectRequestArguments& arguments)
{
    std::string address(TextView(addressText));
    bool mergeCookies = arguments.mergeCookies.value_or(true);
    ComInitScope componentModel;  // ComUninit after the request object has gone
    const char* verb = VerbOf(arguments.method.value_or(kMethodGet));
    RequestMethod method = NormalizeMethod(arguments.method.value_or(kMethodGet));

    // A caller's object is used through a reference of our own; it keeps its
    // own reference.
    calls::OwnedObject request = calls::NewObject();
    if (arguments.requestObject != nullptr)
        calls::CopyObject(request.get(), arguments.requestObject);
    else if (!calls::CreateObject(request.get(), texts::kRequestProgId))
        return nullptr;
    automation::ObjectHolder* object = request.get();

    std::int32_t timeout = arguments.timeout.value_or(0);
    if (timeout != kKeepComponentTimeouts) {
        std::int32_t ms = TimeoutMs(timeout);
        calls::CallMethod(object, texts::kSetTimeoutsMember, {Int(ms), Int(ms), Int(ms), Int(ms)});
    }
    std::string_view proxy = TextView(arguments.proxy);
    if (!proxy.empty())
        calls::CallMethod(object, texts::kSetProxyMember, {Int(kProxySettingProxy), calls::Text(arguments.proxy)});

    calls::CallMethod(object, texts::kOpenMember,
                      {calls::Text(verb), calls::Text(address.c_str()), TypedValue::OfBool(false)});

    // Request headers only exist once the request is open, so the proxy
    // credentials follow Open.
    std::string_view proxyUser = TextView(arguments.proxyUser);
    if (!proxy.empty() && !proxyUser.empty() && arguments.proxyAuthMode.value_or(1) == kSendsProxyCredentials) {
        std::string credentials = std::string(proxyUser) + texts::kColon + std::string(TextView(arguments.proxyPassword));
        std::string encoded = Base64Encode({reinterpret_cast<const std::uint8_t*>(credentials.data()), credentials.size()});
        SetRequestHeader(object, texts::kProxyAuthorization, texts::kBasicPrefix + encoded);
    }

    if (arguments.noRedirect.value_or(false))
        calls::WriteProperty(object, texts::kOptionMember, {Int(kOptionEnableRedirects), Int(0)});
    calls::WriteProperty(object, texts::kOptionMember, {Int(kOptionSslErrorIgnoreFlags), Int(kIgnoredCertificateErrors)});

    std::string headers(arguments.headers ? TextView(arguments.headers->get()) : std::string_view());
    AddDefaultHeaderLines(headers, address);
    if (!ContainsText(headers, texts::kUserAgentName))
        headers += texts::kDefaultAgentLine;
    if (method == kMethodPost) {
        headers = runtime::commands::ReplaceAll(headers, texts::kContentTypeLower, texts::kContentTypeWord, false);
        AddFormContentType(headers);
    }
    Store(arguments.headers, headers);

    bool cookiesGiven = arguments.cookies != nullptr;
    std::string cookies(cookiesGiven ? TextView(arguments.cookies->get()) : std::string_view());
    if (cookiesGiven)
        SetRequestHeader(object, texts::kCookieHeader, cookies);

    if (!ContainsText(headers, texts::kCrLf)) {
        SetRequestHeader(object, HeaderName(headers), HeaderValue(headers));
    } else {
        for (std::string_view line : runtime::commands::SplitPieces(headers, texts::kCrLf))
            if (!line.empty())
                SetRequestHeader(object, HeaderName(line), HeaderValue(line));
    }

    if (runtime::ByteSetSize(arguments.postBytes) == 0) {
        calls::CallMethod(object, texts::kSendMember, {calls::Text(arguments.postText ? arguments.postText : "")});
    } else {
        calls::OwnedVariant data = calls::NewVariant();
        calls::AssignVariant(data.get(), TypedValue::OfPointer(runtime::kByteSetType, arguments.postBytes));
        VARIANT* variable = data.get();
        calls::CallMethod(object, texts::kSendMember, {calls::ByReference(runtime::kVariantType, &variable)});
    }

    OwnedByteSet body;
    {
        calls::OwnedVariant responseBody = calls::ReadProperty(object, texts::kResponseBodyMember);
        body = calls::VariantToByteSet(responseBody.get());
    }
    runtime::OwnedText responseHeaders = calls::ReadTextProperty(object, texts::kGetAllResponseHeadersMember);
    // Truncated as the runtime truncates any number: a status beyond the
    // 32-bit range (another caller's object may answer anything) gives the
    // integer indefinite instead of an undefined conversion.
    std::int32_t status =
        runtime::commands::IntegerOf(TypedValue::OfDouble(calls::ReadNumberProperty(object, texts::kStatusMember)));
    if (arguments.status != nullptr)
        *arguments.status = status;

    std::string_view headerText = TextView(responseHeaders.get());
    std::string returnedCookies = ReturnedCookies(headerText, cookiesGiven ? &cookies : nullptr, mergeCookies);
    if (mergeCookies && cookiesGiven)
        Store(arguments.cookies, cookies);
    Store(arguments.responseHeaders, headerText);
    Store(arguments.returnedCookies, returnedCookies);
    return body;
}

}  // namespace vellumry::web
