// WinINet's HTTP functions as Microsoft documents them for synchronous use,
// on the shared libcurl transfer (HttpTransfer.h):
// - InternetOpenA makes a session with an agent and direct or proxy access
//   (INTERNET_OPEN_TYPE_PRECONFIG finds no configured proxy here and goes
//   direct; a proxy list may come with a bypass list); InternetConnectA names a host and port for the HTTP service;
//   HttpOpenRequestA prepares a verb, object, version, referrer, accepted
//   types and flags; InternetCloseHandle closes any of the three.
// - HttpSendRequestA adds the caller's header lines and optional data and
//   runs the whole exchange: redirects are followed unless
//   INTERNET_FLAG_NO_AUTO_REDIRECT, an http-to-https redirect needs
//   INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS and an https-to-http one
//   INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP, and cookies come from and go to
//   the process-wide store unless INTERNET_FLAG_NO_COOKIES. The body is held
//   by the request handle, so a failed transfer is a failed send and never a
//   half-read body.
// - InternetReadFile hands the body out in pieces of at most the buffer size,
//   then a count of 0.
// - HttpQueryInfoA answers HTTP_QUERY_RAW_HEADERS_CRLF with the status line
//   and headers of the final response, with the documented
//   ERROR_INSUFFICIENT_BUFFER failure and the needed size.
// - InternetSetOptionA sets the connect, send and receive time-outs on a
//   handle (its later children inherit them) or, with a null handle, for
//   sessions opened afterwards. The send and receive time-outs are one: the
//   window of the low-speed rule.
// Failures set the documented last-error codes.

#include "platform/net/WinInet.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/base/LastError.h"
#include "platform/modules/ModuleRegistry.h"
#include "platform/net/CertificateErrors.h"
#include "platform/net/CookieJar.h"
#include "platform/net/private/InternetHandles.h"

namespace vellumry::net {
namespace {

constexpr DWORD kUpToZero = 0xFFFFFFFF;  // a header length meaning "up to the terminating zero"

DWORD WinInetError(TransferError error)
{
    switch (error) {
    case TransferError::None:
        return ERROR_SUCCESS;
    case TransferError::InvalidUrl:
        return ERROR_INTERNET_INVALID_URL;
    case TransferError::UnsupportedScheme:
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case TransferError::NameNotResolved:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case TransferError::CannotConnect:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case TransferError::Timeout:
        return ERROR_INTERNET_TIMEOUT;
    case TransferError::ConnectionReset:
        return ERROR_INTERNET_CONNECTION_RESET;
    case TransferError::ConnectionAborted:
        return ERROR_INTERNET_CONNECTION_ABORTED;
    case TransferError::InvalidResponse:
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case TransferError::RedirectFailed:
        return ERROR_HTTP_REDIRECT_FAILED;
    case TransferError::HttpToHttpsRedirect:
        return ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR;
    case TransferError::HttpsToHttpRedirect:
        return ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
    case TransferError::CertificateAuthority:
        return ERROR_INTERNET_INVALID_CA;
    case TransferError::CertificateName:
        return ERROR_INTERNET_SEC_CERT_CN_INVALID;
    case TransferError::CertificateDate:
        return ERROR_INTERNET_SEC_CERT_DATE_INVALID;
    case TransferError::CertificateUsage:
        return ERROR_INTERNET_SEC_INVALID_CERT;
    case TransferError::SecureFailure:
        return ERROR_INTERNET_SECURE_FAILURE;
    case TransferError::BodyTooLarge:
        return ERROR_FILE_TOO_LARGE;
    case TransferError::Cancelled:
        return ERROR_INTERNET_OPERATION_CANCELLED;
    case TransferError::OutOfMemory:
        return ERROR_NOT_ENOUGH_MEMORY;
    case TransferError::Internal:
        break;
    }
    return ERROR_INTERNET_INTERNAL_ERROR;
}

// Sets the last error and gives the failure value of the caller's type.
template <typename Result>
Result Fail(DWORD error, Result failure)
{
    SetLastError(error);
    return failure;
}

// The object behind a handle as the kind a function takes. A closed or
// unknown handle is ERROR_INVALID_HANDLE, one of another kind
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE.
template <typename T>
std::shared_ptr<T> ObjectOf(HINTERNET handle, DWORD& error)
{
    std::shared_ptr<InternetObject> object = LookupInternetHandle(handle);
    if (!object) {
        error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    auto typed = std::dynamic_pointer_cast<T>(object);
    if (!typed)
        error = ERROR_INTERNET_INCORRECT_HANDLE_TYPE;
    return typed;
}

std::string Text(LPCSTR text)
{
    return text ? std::string(text) : std::string();
}

// Splits the caller's header block into lines at CR LF (or a lone LF),
// dropping empty lines. False for a line that is no "Name: value" header or
// that carries a stray CR.
bool SplitHeaderLines(std::string_view block, std::vector<std::string>& lines)
{
    while (!block.empty()) {
        std::size_t end = block.find('\n');
        std::string_view line = block.substr(0, end);
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string_view::npos || line.find('\r') != std::string_view::npos)
            return false;
        for (char c : line.substr(0, colon))
            if (c == ' ' || c == '\t' || static_cast<unsigned char>(c) < 0x20)
                return false;
        lines.emplace_back(line);
    }
    return true;
}

// A time-out value as the options give it: 0 and 0xFFFFFFFF wait forever.
std::int32_t TimeoutMs(DWORD value)
{
    if (value == 0 || value == 0xFFFFFFFF || value > 0x7FFFFFFF)
        return 0;
    return static_cast<std::int32_t>(value);
}

}  // namespace

void RegisterWinInetExports()
{
    using modules::Export;
    modules::RegisterBuiltinExports("wininet", {
                                                   Export("InternetOpenA", &InternetOpenA),
                                                   Export("InternetConnectA", &InternetConnectA),
                                                   Export("HttpOpenRequestA", &HttpOpenRequestA),
                                                   Export("HttpSendRequestA", &HttpSendRequestA),
                                                   Export("InternetReadFile", &InternetReadFile),
                                                   Export("HttpQueryInfoA", &HttpQueryInfoA),
                                                   Export("InternetSetOptionA", &InternetSetOptionA),
                                                   Export("InternetCloseHandle", &InternetCloseHandle),
                                               });
}

}  // namespace vellumry::net

using namespace vellumry::net;

HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD flags)
{
    // Only synchronous use is offered.
    if ((flags & INTERNET_FLAG_ASYNC) != 0)
        return Fail<HINTERNET>(ERROR_INVALID_PARAMETER, nullptr);
    ProxyList proxies;
    switch (accessType) {
    case INTERNET_OPEN_TYPE_PRECONFIG:
    case INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY:
    case INTERNET_OPEN_TYPE_DIRECT:
        break;
    case INTERNET_OPEN_TYPE_PROXY:
        if (proxy == nullptr || *proxy == '\0')
            return Fail<HINTERNET>(ERROR_INVALID_PARAMETER, nullptr);
        proxies = ProxyList::Parse(proxy, proxyBypass ? proxyBypass : "");
        break;
    default:
        return Fail<HINTERNET>(ERROR_INVALID_PARAMETER, nullptr);
    }
    // The agent is one header value: whatever follows a line break in it is
    // not sent, so that it cannot add header lines of its own.
    std::string agentText = Text(agent);
    agentText.resize(std::min(agentText.find_first_of("\r\n"), agentText.size()));
    auto session = std::make_shared<InternetSession>(DefaultInternetTimeouts(), std::move(agentText), std::move(proxies));
    SetLastError(ERROR_SUCCESS);
    return InsertInternetHandle(std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort, LPCSTR userName,
                           LPCSTR password, DWORD service, DWORD, DWORD_PTR)
{
    DWORD error = ERROR_SUCCESS;
    auto session = ObjectOf<InternetSession>(internet, error);
    if (!session)
        return Fail<HINTERNET>(error, nullptr);
    if (service != INTERNET_SERVICE_HTTP || serverName == nullptr || *serverName == '\0')
        return Fail<HINTERNET>(ERROR_INVALID_PARAMETER, nullptr);
    auto connection = std::make_shared<InternetConnection>(session, serverName, serverPort, Text(userName),
                                                           Text(password));
    SetLastError(ERROR_SUCCESS);
    return InsertInternetHandle(std::move(connection));
}

HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR objectName, LPCSTR version, LPCSTR referrer,
                           LPCSTR* acceptTypes, DWORD flags, DWORD_PTR)
{
    DWORD error = ERROR_SUCCESS;
    auto connection = ObjectOf<InternetConnection>(connect, error);
    if (!connection)
        return Fail<HINTERNET>(error, nullptr);

    bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
    WORD port = connection->port;
    if (port == INTERNET_DEFAULT_PORT)
        port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    std::string url = secure ? "https://" : "http://";
    // An IPv6 address goes in brackets.
    bool ipv6 = connection->host.find(':') != std::string::npos;
    if (ipv6)
        url += '[';
    url += connection->host;
    if (ipv6)
        url += ']';
    if (port != (secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT)) {
        url += ':';
        url += std::to_string(port);
    }
    std::string object = objectName && *objectName ? objectName : "/";
    if (object.front() != '/')
        url += '/';
    url += object;

    std::vector<std::string> headers;
    if (referrer != nullptr && *referrer != '\0')
        headers.push_back(std::string("Referer: ") + referrer);
    if (acceptTypes != nullptr && *acceptTypes != nullptr) {
        std::string accept = "Accept: ";
        for (LPCSTR* type = acceptTypes; *type != nullptr; ++type) {
            if (type != acceptTypes)
                accept += ", ";
            accept += *type;
        }
        headers.push_back(std::move(accept));
    }
    bool http10 = version != nullptr && std::strcmp(version, "HTTP/1.0") == 0;
    auto request = std::make_shared<InternetRequest>(connection, verb && *verb ? verb : "GET", std::move(url),
                                                     http10, std::move(headers), flags);
    SetLastError(ERROR_SUCCESS);
    return InsertInternetHandle(std::move(request));
}

BOOL HttpSendRequestA(HINTERNET requestHandle, LPCSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength)
{
    DWORD error = ERROR_SUCCESS;
    auto request = ObjectOf<InternetRequest>(requestHandle, error);
    if (!request)
        return Fail(error, FALSE);
    if (optional == nullptr && optionalLength != 0)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);

    const InternetConnection& connection = *request->connection;
    TransferRequest transfer;
    transfer.verb = request->verb;
    transfer.url = request->url;
    transfer.headers = request->headers;
    if (headers != nullptr) {
        std::size_t length = headersLength == kUpToZero ? std::strlen(headers) : headersLength;
        if (!SplitHeaderLines(std::string_view(headers, length), transfer.headers))
            return Fail(ERROR_HTTP_INVALID_HEADER, FALSE);
    }
    if (optionalLength != 0 && transfer.verb != "GET" && transfer.verb != "HEAD") {
        auto* bytes = static_cast<const std::uint8_t*>(optional);
        transfer.body.assign(bytes, bytes + optionalLength);
        transfer.sendBody = true;
    }
    transfer.userAgent = connection.session->agent;
    transfer.user = connection.user;
    transfer.password = connection.password;
    transfer.proxies = connection.session->proxies;
    transfer.http10 = request->http10;
    DWORD flags = request->flags;
    transfer.redirects.follow = (flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
    transfer.redirects.allowHttpToHttps = (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) != 0;
    transfer.redirects.allowHttpsToHttp = (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) != 0;
    transfer.timeouts = request->Timeouts();
    if ((flags & INTERNET_FLAG_IGNORE_CERT_CN_INVALID) != 0)
        transfer.ignoredCertificateErrors |= kIgnoreNameMismatch;
    if ((flags & INTERNET_FLAG_IGNORE_CERT_DATE_INVALID) != 0)
        transfer.ignoredCertificateErrors |= kIgnoreDateInvalid;
    transfer.cookies = (flags & INTERNET_FLAG_NO_COOKIES) != 0 ? nullptr : &ProcessCookieStore();

    std::lock_guard guard(request->lock);
    request->result = PerformTransfer(transfer);
    request->sent = true;
    request->readOffset = 0;
    if (request->result.error != TransferError::None)
        return Fail(WinInetError(request->result.error), FALSE);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead)
{
    DWORD error = ERROR_SUCCESS;
    auto request = ObjectOf<InternetRequest>(file, error);
    if (!request)
        return Fail(error, FALSE);
    if (bytesRead == nullptr || (buffer == nullptr && bytesToRead != 0))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    *bytesRead = 0;
    std::lock_guard guard(request->lock);
    if (!request->sent)
        return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE, FALSE);
    if (request->result.error != TransferError::None)
        return Fail(WinInetError(request->result.error), FALSE);
    const std::vector<std::uint8_t>& body = request->result.body;
    std::size_t count = std::min<std::size_t>(bytesToRead, body.size() - request->readOffset);
    if (count != 0)
        std::memcpy(buffer, body.data() + request->readOffset, count);
    request->readOffset += count;
    *bytesRead = static_cast<DWORD>(count);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL HttpQueryInfoA(HINTERNET requestHandle, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD)
{
    DWORD error = ERROR_SUCCESS;
    auto request = ObjectOf<InternetRequest>(requestHandle, error);
    if (!request)
        return Fail(error, FALSE);
    if (bufferLength == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if ((infoLevel & HTTP_QUERY_HEADER_MASK) != HTTP_QUERY_RAW_HEADERS_CRLF ||
        (infoLevel & HTTP_QUERY_MODIFIER_FLAGS_MASK) != 0)
        return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST, FALSE);
    std::lock_guard guard(request->lock);
    if (!request->sent || request->result.error != TransferError::None)
        return Fail(ERROR_HTTP_HEADER_NOT_FOUND, FALSE);
    const std::string& headers = request->result.rawHeaders;
    // The text and its terminating zero must fit; the length then counts the
    // text alone.
    if (buffer == nullptr || *bufferLength < headers.size() + 1) {
        *bufferLength = static_cast<DWORD>(headers.size() + 1);
        return Fail(ERROR_INSUFFICIENT_BUFFER, FALSE);
    }
    std::memcpy(buffer, headers.c_str(), headers.size() + 1);
    *bufferLength = static_cast<DWORD>(headers.size());
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength)
{
    if (option != INTERNET_OPTION_CONNECT_TIMEOUT && option != INTERNET_OPTION_SEND_TIMEOUT &&
        option != INTERNET_OPTION_RECEIVE_TIMEOUT)
        return Fail(ERROR_INTERNET_INVALID_OPTION, FALSE);
    if (buffer == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (bufferLength < sizeof(DWORD))
        return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH, FALSE);
    DWORD value;
    std::memcpy(&value, buffer, sizeof value);

    std::shared_ptr<InternetObject> object;
    if (internet != nullptr) {
        object = LookupInternetHandle(internet);
        if (!object)
            return Fail(ERROR_INVALID_HANDLE, FALSE);
    }
    TransferTimeouts timeouts = object ? object->Timeouts() : DefaultInternetTimeouts();
    if (option == INTERNET_OPTION_CONNECT_TIMEOUT)
        timeouts.connectMs = TimeoutMs(value);
    else
        timeouts.receiveMs = TimeoutMs(value);
    if (object)
        object->SetTimeouts(timeouts);
    else
        SetDefaultInternetTimeouts(timeouts);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL InternetCloseHandle(HINTERNET internet)
{
    if (!RemoveInternetHandle(internet))
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
