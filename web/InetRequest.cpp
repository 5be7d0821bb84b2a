#include "web/InetRequest.h"

#include <string>
#include <vector>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/TextWalks.h"
#include "web/HeaderText.h"
#include "web/RequestHeaders.h"
#include "web/ResponseCookies.h"
#include "web/UrlParts.h"
#include "web/WebTexts.h"
#include "web/private/OutArguments.h"
#include "web/private/WinInetCalls.h"

namespace vellumry::web {
namespace {

using runtime::OwnedByteSet;
using runtime::OwnedText;
using runtime::TextView;

constexpr DWORD kReadBufferSize = 1024;
constexpr DWORD kResponseHeaderSpace = 5000;
constexpr std::size_t kLargestBody = runtime::kMaxBlockSize - 2 * sizeof(std::int32_t);

// Closes a handle the routine still holds when it is left early by an
// exception; the normal paths close their handles themselves, in order.
class HandleGuard {
public:
    explicit HandleGuard(HINTERNET handle) : m_handle(handle) {}
    ~HandleGuard()
    {
        if (m_handle == nullptr)
            return;
        try {
            wininet::CloseHandle(m_handle);
        } catch (...) {
        }
    }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;

    HINTERNET Get() const { return m_handle; }
    // Closes the handle now (a zero handle too, as the failure paths do).
    void Close()
    {
        wininet::CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HINTERNET m_handle;
};

std::string AgentFor(std::string_view headers)
{
    if (runtime::commands::FindFrom(headers, texts::kUserAgentName, 0, true) == runtime::commands::kNotFoundOffset)
        return texts::kDefaultAgent;
    std::string withEnd = std::string(headers) + texts::kCrLf;
    std::string agent(runtime::commands::TrimBlanks(TextBetween(withEnd, texts::kUserAgentName, texts::kCrLf)));
    return agent.empty() ? HeaderValue(headers) : agent;
}

}  // namespace

OwnedByteSet InetRequest(const char* addressText, const InetRequestArguments& arguments)
{
    std::string_view address = TextView(addressText);
    bool mergeCookies = arguments.mergeCookies.value_or(true);
    RequestMethod method = NormalizeMethod(arguments.method.value_or(kMethodGet));
    const char* verb = VerbOf(method);
    bool secure = runtime::commands::LowerAscii(address.substr(0, 8)) == texts::kHttpsScheme;
    std::string headers(arguments.headers ? TextView(arguments.headers->get()) : std::string_view());
    std::string agent = AgentFor(headers);

    std::string proxy(TextView(arguments.proxy));
    std::string proxyList = secure ? proxy : texts::kHttpProxyPrefix + proxy;
    HandleGuard session(proxy.empty() ? wininet::Open(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                                      : wininet::Open(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(),
                                                      "", 0));
    if (session.Get() == nullptr) {
        session.Close();
        return nullptr;
    }

    std::string host = UrlHost(address);
    std::int32_t port = UrlPort(address);
    // A port beyond 16 bits names nothing that can be connected to: the same
    // outcome as a refused connection.
    bool portValid = port >= 0 && port <= 0xFFFF;
    HandleGuard connection(portValid ? wininet::Connect(session.Get(), host.c_str(),
                                                        static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                                        INTERNET_SERVICE_HTTP, 0, 0)
                                     : nullptr);
    if (connection.Get() == nullptr) {
        connection.Close();
        session.Close();
        return nullptr;
    }

    bool cookiesGiven = arguments.cookies != nullptr;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (cookiesGiven)
        flags |= INTERNET_FLAG_NO_COOKIES;
    if (arguments.noRedirect.value_or(false))
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |= secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    std::string path = UrlPath(address);
    HandleGuard request(wininet::OpenRequest(connection.Get(), verb, path.c_str(), texts::kHttpVersion, nullptr,
                                             nullptr, flags, 0));
    if (request.Get() == nullptr) {
        request.Close();
        connection.Close();
        session.Close();
        return nullptr;
    }

    AddDefaultHeaderLines(headers, address);
    if (method == kMethodPost)
        AddFormContentType(headers);
    std::string cookies(cookiesGiven ? TextView(arguments.cookies->get()) : std::string_view());
    if (!cookies.empty()) {
        headers += ContainsText(cookies, texts::kCookieName) ? texts::kCrLf : texts::kCookieLineHead;
        headers += cookies;
    }
    Store(arguments.headers, headers);

    auto headersLength = static_cast<DWORD>(headers.size());
    if (method == kMethodGet) {
        wininet::SendRequestText(request.Get(), headers.c_str(), headersLength, "", 0);
    } else {
        OwnedByteSet localBytes;
        OwnedByteSet& postBytes = arguments.postBytes ? *arguments.postBytes : localBytes;
        if (runtime::ByteSetSize(postBytes.get()) == 0) {
            std::string_view text = TextView(arguments.postText);
            postBytes.reset(runtime::MakeByteSet(
                {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
        }
        std::span<const std::uint8_t> bytes = runtime::ByteSetBytes(postBytes.get());
        wininet::SendRequestBytes(request.Get(), headers.c_str(), headersLength, bytes.data(),
                                  static_cast<DWORD>(bytes.size()));
    }

    std::vector<std::uint8_t> body;
    std::vector<std::uint8_t> buffer(kReadBufferSize, 0);
    for (;;) {
        DWORD read = 0;
        wininet::ReadFile(request.Get(), buffer.data(), kReadBufferSize, &read);
        if (read == 0)
            break;
        body.insert(body.end(), buffer.begin(), buffer.begin() + read);
    }
    // A body no byte-set can hold is refused like an oversize one.
    if (body.size() > kLargestBody)
        body.clear();

    // The query writes the header text and its terminating zero over the
    // spaces; when it fails the spaces stay.
    std::string responseHeaders(kResponseHeaderSpace, ' ');
    DWORD length = kResponseHeaderSpace;
    wininet::QueryInfo(request.Get(), HTTP_QUERY_RAW_HEADERS_CRLF, responseHeaders.data(), &length, nullptr);
    responseHeaders.resize(std::char_traits<char>::length(responseHeaders.c_str()));

    request.Close();
    connection.Close();
    session.Close();

    std::string returnedCookies = ReturnedCookies(responseHeaders, cookiesGiven ? &cookies : nullptr, mergeCookies);
    if (mergeCookies && cookiesGiven)
        Store(arguments.cookies, cookies);
    Store(arguments.responseHeaders, responseHeaders);
    Store(arguments.returnedCookies, returnedCookies);
    return OwnedByteSet(runtime::MakeByteSet(body));
}

}  // namespace vellumry::web
