#pragma once

// One complete HTTP or HTTPS exchange on libcurl, shared by the WinINet and
// WinHTTP stand-ins: the request goes out, redirects are followed by our own
// rules, and the final response comes back whole (status, raw header block,
// decoded body) or the transfer fails as a whole. Nothing partial reaches
// the caller.
//
// Connections are kept alive between transfers to the same origin: finished
// handles wait in a small pool with their open connections. Every limit of
// TransferLimits.h applies, and the transfer stops at once when the abort
// predicate of TransferAbort.h says so.
//
// Blocking; any thread, and any number of threads at once.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/net/ProxyList.h"
#include "platform/net/TransferError.h"

namespace vellumry::net {

class CookieJar;

struct TransferTimeouts {
    std::int32_t connectMs = 60000;  // 0: no limit
    std::int32_t receiveMs = 30000;  // 0: no limit; the window of the low-speed rule
};

struct RedirectPolicy {
    bool follow = true;
    bool allowHttpToHttps = true;
    bool allowHttpsToHttp = false;
};

struct TransferRequest {
    std::string verb = "GET";
    std::string url;                   // absolute, http or https; unsafe bytes in the path are escaped
    std::vector<std::string> headers;  // "Name: value" lines, sent in order
    std::vector<std::uint8_t> body;
    bool sendBody = false;             // a body goes out, even an empty one
    std::string userAgent;             // empty: no User-Agent unless a header line gives one
    std::string user;                  // credentials for the first host, when it asks for them
    std::string password;
    ProxyList proxies;
    bool http10 = false;
    RedirectPolicy redirects;
    TransferTimeouts timeouts;
    std::uint32_t ignoredCertificateErrors = 0;  // CertificateErrors.h
    CookieJar* cookies = nullptr;      // null: cookies are neither sent nor kept
};

struct TransferResult {
    TransferError error = TransferError::None;
    std::int32_t status = 0;
    // The status line and header lines of the final response, each ending in
    // CR LF, then the empty line.
    std::string rawHeaders;
    std::vector<std::uint8_t> body;
    std::string finalUrl;
};

TransferResult PerformTransfer(const TransferRequest& request);

// Whether an address can be requested: None, InvalidUrl or UnsupportedScheme.
TransferError CheckAddress(const std::string& url);

// Closes the idle connections the pool keeps (tests, shutdown).
void DropIdleConnections();

// Loads and starts libcurl now instead of at the first transfer, so that a
// program can have it ready while it does other work (loading it maps and
// links a dozen libraries). Any thread; once or more. False when libcurl is
// not available.
bool PrepareTransfers();

}  // namespace vellumry::net
