#pragma once

// The "WinHttp.WinHttpRequest.5.1" object, synchronous, as Microsoft
// documents IWinHttpRequest for the members offered:
// - SetTimeouts(resolve, connect, send, receive) in milliseconds (0 or -1
//   waits forever; other negative values fail); the defaults are 0, 60000,
//   30000 and 30000. Resolving and connecting share one limit, sending and
//   receiving are the window of the low-speed rule of the transfer.
// - SetProxy(setting, [server], [bypass]): 0 (the preconfigured settings:
//   none here) and 1 go direct, 2 takes a proxy list and a bypass list.
// - Open(verb, url, [async]) starts a new request: its headers and the last
//   response are dropped; only synchronous requests are offered.
// - SetRequestHeader(name, value) after Open and before Send: a header of
//   the same name is replaced, an empty value removes it, a malformed one
//   fails.
// - Send([body]) runs the exchange; the body is a text (sent as UTF-8) or an
//   array of bytes, and a GET sends none. Without a User-Agent header the
//   component's own agent is sent.
// - Option(index): 4 the certificate errors to ignore (the documented
//   SslErrorIgnoreFlags), 6 whether redirects are followed (true at first),
//   12 whether a redirect from https to http is followed (false at first).
// - Status, ResponseBody (an array of bytes) and GetAllResponseHeaders (the
//   header lines of the final response without its status line) after Send.
// The object keeps its own cookies across the requests it makes, and its
// options, time-outs and proxy until it is released. Header texts pass
// through the system code page, the URL through UTF-8.
//
// One thread uses an object at a time.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/DispatchObject.h"
#include "platform/net/CookieJar.h"
#include "platform/net/HttpTransfer.h"
#include "platform/net/ProxyList.h"

namespace vellumry::winhttp {

inline constexpr IID kIidWinHttpRequest = {0x06F29373, 0x5C5A, 0x4B54, {0xB0, 0x25, 0x6E, 0xF1, 0xBF, 0x8A, 0xBF, 0x0E}};

class WinHttpRequestObject final : public com::DispatchObject<WinHttpRequestObject> {
public:
    static const com::DispatchTable<WinHttpRequestObject>& Table();

private:
    enum class State { Created, Opened, Responded };

    HRESULT SetTimeouts(com::InvokeCall& call);
    HRESULT SetProxy(com::InvokeCall& call);
    HRESULT Open(com::InvokeCall& call);
    HRESULT SetRequestHeader(com::InvokeCall& call);
    HRESULT Send(com::InvokeCall& call);
    HRESULT GetOption(com::InvokeCall& call);
    HRESULT PutOption(com::InvokeCall& call);
    HRESULT GetStatus(com::InvokeCall& call);
    HRESULT GetResponseBody(com::InvokeCall& call);
    HRESULT GetAllResponseHeaders(com::InvokeCall& call);

    // The header of that name, any letter case, or end().
    std::vector<std::pair<std::string, std::string>>::iterator FindHeader(const std::string& name);

    State m_state = State::Created;
    std::string m_verb;
    std::string m_url;
    std::vector<std::pair<std::string, std::string>> m_headers;  // in the system code page
    net::TransferResult m_response;

    net::TransferTimeouts m_timeouts{60000, 30000};
    net::ProxyList m_proxies;
    std::uint32_t m_ignoredCertificateErrors = 0;
    bool m_followRedirects = true;
    bool m_followHttpsToHttp = false;
    net::CookieJar m_cookies;
};

}  // namespace vellumry::winhttp
