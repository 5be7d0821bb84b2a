#include "platform/net/HttpTransfer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <new>
#include <string_view>

#include "platform/net/CookieJar.h"
#include "platform/net/TransferAbort.h"
#include "platform/net/TransferLimits.h"
#include "platform/net/private/ActiveTransfers.h"
#include "platform/net/private/CertificateCheck.h"
#include "platform/net/private/CurlHandles.h"
#include "platform/net/private/TransferPool.h"

namespace vellumry::net {
namespace {

// libcurl's receive buffer (its default is 16 KiB).
constexpr long kReceiveBufferBytes = 128 * 1024;

// Content codings we ask for and decode; the body cap counts decoded bytes.
constexpr const char* kAcceptedEncodings = "gzip, deflate";

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

std::string_view HeaderNameOf(std::string_view line)
{
    std::size_t colon = line.find(':');
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    return name;
}

bool HasHeader(const std::vector<std::string>& headers, std::string_view name)
{
    return std::any_of(headers.begin(), headers.end(),
                       [&](const std::string& line) { return EqualsIgnoringCase(HeaderNameOf(line), name); });
}

// The parts of an address that decide where a transfer goes.
struct Target {
    std::string scheme;  // "http" or "https"
    std::string host;    // lower-case
    std::string port;
};

struct CurlUrlDeleter {
    void operator()(CURLU* url) const { Curl().url_cleanup(url); }
};

std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags)
{
    char* value = nullptr;
    if (Curl().url_get(url, part, &value, flags) != CURLUE_OK || value == nullptr)
        return {};
    std::string text(value);
    Curl().free(value);
    return text;
}

// Parses an absolute address; the error says why it cannot be used.
TransferError ParseTarget(const std::string& address, Target& target)
{
    std::unique_ptr<CURLU, CurlUrlDeleter> url(Curl().url());
    if (!url)
        return TransferError::OutOfMemory;
    // Without a scheme an address is not absolute: no guessing here.
    if (Curl().url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return TransferError::InvalidUrl;
    target.scheme = UrlPart(url.get(), CURLUPART_SCHEME, 0);
    for (char& c : target.scheme)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    if (target.scheme != "http" && target.scheme != "https")
        return TransferError::UnsupportedScheme;
    target.host = UrlPart(url.get(), CURLUPART_HOST, 0);
    for (char& c : target.host)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    target.port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (target.host.empty())
        return TransferError::InvalidUrl;
    return TransferError::None;
}

// What one exchange (one hop of a redirect chain) collects.
struct Hop {
    CURL* easy = nullptr;
    std::size_t cap = 0;
    std::string headers;
    std::vector<std::uint8_t> body;
    bool reserved = false;
    bool tooLarge = false;
    bool outOfMemory = false;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* hop = static_cast<Hop*>(user);
    std::size_t length = size * count;
    std::string_view line(data, length);
    // Each response starts with its status line; an interim one (100
    // Continue) is followed by the final one, which alone is kept.
    if (line.substr(0, 5) == "HTTP/")
        hop->headers.clear();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    try {
        hop->headers.append(line);
        hop->headers.append("\r\n");
    } catch (const std::bad_alloc&) {
        hop->outOfMemory = true;
        return 0;
    }
    return length;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* hop = static_cast<Hop*>(user);
    std::size_t length = size * count;
    if (length > hop->cap - hop->body.size()) {
        hop->tooLarge = true;
        return 0;
    }
    try {
        if (!hop->reserved) {
            // The announced length only sizes the first allocation, and never
            // beyond the cap.
            hop->reserved = true;
            curl_off_t announced = -1;
            Curl().easy_getinfo(hop->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
            if (announced > 0)
                hop->body.reserve(std::min<std::size_t>(static_cast<std::size_t>(announced), hop->cap));
        }
        hop->body.insert(hop->body.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        hop->outOfMemory = true;
        return 0;
    }
    return length;
}

int OnProgress(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return TransferAbortRequested() ? 1 : 0;
}

// The request of one hop.
struct HopRequest {
    std::string url;
    Target target;
    std::string verb;
    bool sendBody = false;
    bool sendCredentials = false;
    std::vector<std::string> headers;
};

// The address with every space, control byte and byte above 0x7F after the
// host written as %XX: a path or query may carry GBK bytes, which go out as
// they are, escaped.
std::string EscapedUrl(std::string_view url)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t schemeEnd = url.find("://");
    std::size_t pathStart =
        schemeEnd == std::string_view::npos ? 0 : url.find_first_of("/?#", schemeEnd + 3);
    if (pathStart == std::string_view::npos)
        return std::string(url);
    std::string escaped(url.substr(0, pathStart));
    for (char c : url.substr(pathStart)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool ConfigureHop(CURL* easy, const TransferRequest& request, const HopRequest& hopRequest, Hop& hop,
                  CurlSlist& headerList)
{
    Curl().easy_reset(easy);
    Curl().easy_setopt(easy, CURLOPT_URL, hopRequest.url.c_str());
    Curl().easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    Curl().easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    Curl().easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A picture of 50 KB arrives in one or two reads instead of four.
    Curl().easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    Curl().easy_setopt(easy, CURLOPT_HTTP_VERSION,
                     request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);

    const std::string& verb = hopRequest.verb;
    if (verb == "GET") {
        Curl().easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (verb == "HEAD") {
        Curl().easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
        if (verb != "POST")
            Curl().easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
        if (hopRequest.sendBody || verb == "POST") {
            Curl().easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
            Curl().easy_setopt(easy, CURLOPT_POSTFIELDS,
                             hopRequest.sendBody && !request.body.empty()
                                 ? reinterpret_cast<const char*>(request.body.data())
                                 : "");
        }
    }

    // The caller's lines go out as given. Headers libcurl would add on its
    // own and the caller did not ask for are left out.
    for (const std::string& line : hopRequest.headers)
        if (!AppendLine(headerList, line.c_str()))
            return false;
    for (const char* name : {"Accept", "Content-Type"})
        if (!HasHeader(hopRequest.headers, name) && !AppendLine(headerList, (std::string(name) + ":").c_str()))
            return false;
    if (!AppendLine(headerList, "Expect:"))
        return false;
    Curl().easy_setopt(easy, CURLOPT_HTTPHEADER, headerList.get());
    if (!request.userAgent.empty())
        Curl().easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
    if (hopRequest.sendCredentials) {
        Curl().easy_setopt(easy, CURLOPT_USERNAME, request.user.c_str());
        Curl().easy_setopt(easy, CURLOPT_PASSWORD, request.password.c_str());
        Curl().easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
    Curl().easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, kAcceptedEncodings);

    // An empty proxy also keeps libcurl from taking one from the environment.
    Curl().easy_setopt(easy, CURLOPT_PROXY, request.proxies.For(hopRequest.target.scheme, hopRequest.target.host).c_str());
    Curl().easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    long connectMs = request.timeouts.connectMs > 0 ? request.timeouts.connectMs : LONG_MAX / 2;
    Curl().easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    if (request.timeouts.receiveMs > 0) {
        long seconds = (static_cast<long>(request.timeouts.receiveMs) + 999) / 1000;
        Curl().easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytesPerSecond);
        Curl().easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, seconds);
    }
    ApplyCertificatePolicy(easy, request.ignoredCertificateErrors);

    Curl().easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
    Curl().easy_setopt(easy, CURLOPT_HEADERDATA, &hop);
    Curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    Curl().easy_setopt(easy, CURLOPT_WRITEDATA, &hop);
    Curl().easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    Curl().easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

    // Without a jar the handle's cookie list is emptied before every hop, so
    // nothing a server sets goes out again.
    if (request.cookies == nullptr)
        Curl().easy_setopt(easy, CURLOPT_COOKIELIST, "ALL");
    return true;
}

// Runs one exchange on the slot's multi handle, waking at least every
// kAbortPollMs to ask whether the thread has been stopped.
CURLcode RunHop(TransferSlot& slot)
{
    CURL* easy = slot.easy.get();
    CURLM* multi = slot.multi.get();
    if (Curl().multi_add_handle(multi, easy) != CURLM_OK)
        return CURLE_OUT_OF_MEMORY;
    CURLcode code = CURLE_OK;
    {
        ActiveTransferScope active(multi);
        bool done = false;
        while (!done) {
            if (TransferAbortRequested()) {
                code = CURLE_ABORTED_BY_CALLBACK;
                break;
            }
            int running = 0;
            if (Curl().multi_perform(multi, &running) != CURLM_OK) {
                code = CURLE_OUT_OF_MEMORY;
                break;
            }
            int left = 0;
            while (CURLMsg* message = Curl().multi_info_read(multi, &left)) {
                if (message->msg == CURLMSG_DONE) {
                    code = message->data.result;
                    done = true;
                }
            }
            if (done || running == 0)
                break;
            long timeout = -1;
            Curl().multi_timeout(multi, &timeout);
            int wait = timeout < 0 || timeout > kAbortPollMs ? kAbortPollMs : static_cast<int>(timeout);
            if (wait > 0)
                Curl().multi_poll(multi, nullptr, 0, wait, nullptr);
        }
    }
    Curl().multi_remove_handle(multi, easy);
    return code;
}

TransferError ErrorOf(CURLcode code, const Hop& hop, CURL* easy)
{
    if (hop.tooLarge)
        return TransferError::BodyTooLarge;
    if (hop.outOfMemory)
        return TransferError::OutOfMemory;
    switch (code) {
    case CURLE_URL_MALFORMAT:
        return TransferError::InvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return TransferError::NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return TransferError::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return TransferError::Timeout;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: {
        long osError = 0;
        Curl().easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
        return osError == ECONNRESET ? TransferError::ConnectionReset : TransferError::ConnectionAborted;
    }
    case CURLE_PARTIAL_FILE:
        return TransferError::ConnectionAborted;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:  // addresses are checked before: an answer without a status line
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return TransferError::InvalidResponse;
    case CURLE_PEER_FAILED_VERIFICATION:
        return CertificateFailure(easy);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
        return TransferError::SecureFailure;
    case CURLE_ABORTED_BY_CALLBACK:
        return TransferError::Cancelled;
    case CURLE_OUT_OF_MEMORY:
        return TransferError::OutOfMemory;
    default:
        return TransferError::Internal;
    }
}

bool IsFollowedRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Checks the next hop of a redirect and turns the request into it. The error
// says why the redirect may not be followed.
TransferError RedirectTo(const std::string& location, const RedirectPolicy& policy, HopRequest& hopRequest,
                         long status)
{
    std::string address = EscapedUrl(location);
    Target next;
    TransferError parsed = ParseTarget(address, next);
    if (parsed == TransferError::OutOfMemory)
        return parsed;
    if (parsed != TransferError::None)
        return TransferError::RedirectFailed;
    if (hopRequest.target.scheme == "http" && next.scheme == "https" && !policy.allowHttpToHttps)
        return TransferError::HttpToHttpsRedirect;
    if (hopRequest.target.scheme == "https" && next.scheme == "http" && !policy.allowHttpsToHttp)
        return TransferError::HttpsToHttpRedirect;

    // 303 asks for the new address with GET; a POST answered by 301 or 302
    // turns into GET as browsers do. 307 and 308 repeat the request as it was.
    if ((status == 303 && hopRequest.verb != "HEAD") || ((status == 301 || status == 302) && hopRequest.verb == "POST")) {
        hopRequest.verb = "GET";
        hopRequest.sendBody = false;
    }
    // Credentials and cookies the caller wrote for one host do not go to
    // another.
    if (next.host != hopRequest.target.host || next.port != hopRequest.target.port) {
        std::erase_if(hopRequest.headers, [](const std::string& line) {
            std::string_view name = HeaderNameOf(line);
            return EqualsIgnoringCase(name, "Authorization") || EqualsIgnoringCase(name, "Cookie");
        });
        hopRequest.sendCredentials = false;
    }
    hopRequest.url = std::move(address);
    hopRequest.target = std::move(next);
    return TransferError::None;
}

// Starts the handle's cookie engine on the jar's cookies. Adding a cookie
// turns the engine on (it then stays on through resets of the handle); the
// throwaway one, for a domain that cannot exist, is cleared at once.
void LoadCookies(CURL* easy, const std::vector<std::string>& lines)
{
    Curl().easy_setopt(easy, CURLOPT_COOKIELIST, "Set-Cookie: engine=on; domain=cookie-engine.invalid");
    Curl().easy_setopt(easy, CURLOPT_COOKIELIST, "ALL");
    for (const std::string& line : lines)
        Curl().easy_setopt(easy, CURLOPT_COOKIELIST, line.c_str());
}

std::vector<std::string> HandleCookies(CURL* easy)
{
    std::vector<std::string> lines;
    curl_slist* list = nullptr;
    if (Curl().easy_getinfo(easy, CURLINFO_COOKIELIST, &list) != CURLE_OK)
        return lines;
    CurlSlist owned(list);
    for (curl_slist* item = list; item != nullptr; item = item->next)
        lines.emplace_back(item->data);
    return lines;
}

std::string PoolKey(const TransferRequest& request, const Target& target)
{
    return target.scheme + "://" + target.host + ":" + target.port + "|" + request.proxies.For(target.scheme, target.host) + "|" +
           std::to_string(request.ignoredCertificateErrors);
}

TransferResult Failed(TransferError error)
{
    TransferResult result;
    result.error = error;
    return result;
}

}  // namespace

TransferResult PerformTransfer(const TransferRequest& request)
{
    if (TransferAbortRequested())
        return Failed(TransferError::Cancelled);
    if (!EnsureCurlInitialized())
        return Failed(TransferError::Internal);

    HopRequest hopRequest;
    hopRequest.url = EscapedUrl(request.url);
    hopRequest.sendCredentials = !request.user.empty();
    hopRequest.verb = request.verb;
    hopRequest.sendBody = request.sendBody;
    hopRequest.headers = request.headers;
    if (TransferError error = ParseTarget(hopRequest.url, hopRequest.target); error != TransferError::None)
        return Failed(error);

    std::string key = PoolKey(request, hopRequest.target);
    std::unique_ptr<TransferSlot> slot = TransferPool::Instance().Acquire(key);
    if (!slot)
        return Failed(TransferError::OutOfMemory);
    CURL* easy = slot->easy.get();

    std::vector<std::string> cookiesBefore;
    if (request.cookies != nullptr)
        cookiesBefore = request.cookies->Snapshot();

    TransferResult result;
    for (int redirects = 0;; ++redirects) {
        Hop hop;
        hop.easy = easy;
        hop.cap = BodyCap();
        CurlSlist headerList;
        if (!ConfigureHop(easy, request, hopRequest, hop, headerList)) {
            result = Failed(TransferError::OutOfMemory);
            break;
        }
        if (redirects == 0 && request.cookies != nullptr)
            LoadCookies(easy, cookiesBefore);

        CURLcode code = RunHop(*slot);
        if (code != CURLE_OK || hop.tooLarge || hop.outOfMemory) {
            result = Failed(ErrorOf(code, hop, easy));
            break;
        }
        long status = 0;
        Curl().easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        char* location = nullptr;
        Curl().easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
        if (request.redirects.follow && IsFollowedRedirect(status) && location != nullptr) {
            if (redirects == kMaxRedirects) {
                result = Failed(TransferError::RedirectFailed);
                break;
            }
            if (TransferError error = RedirectTo(location, request.redirects, hopRequest, status);
                error != TransferError::None) {
                result = Failed(error);
                break;
            }
            continue;
        }
        result.status = static_cast<std::int32_t>(status);
        result.rawHeaders = std::move(hop.headers);
        result.body = std::move(hop.body);
        result.finalUrl = hopRequest.url;
        break;
    }

    if (request.cookies != nullptr) {
        // Cookies set on the way count even when a later hop failed.
        request.cookies->Update(cookiesBefore, HandleCookies(easy));
        Curl().easy_setopt(easy, CURLOPT_COOKIELIST, "ALL");
    }
    TransferPool::Instance().Release(key, std::move(slot));
    return result;
}

TransferError CheckAddress(const std::string& url)
{
    if (!EnsureCurlInitialized())
        return TransferError::Internal;
    Target target;
    return ParseTarget(EscapedUrl(url), target);
}

void DropIdleConnections()
{
    TransferPool::Instance().Clear();
}

}  // namespace vellumry::net
