#pragma once

// Proxy lists as WinINet's InternetOpenA and WinHTTP's SetProxy document
// them: entries separated by blanks or semicolons, each of the form
// [<scheme>=][<scheme>://]<server>[:<port>]. An entry that begins with
// "http=" or "https=" serves requests of that scheme only; an entry without
// "<scheme>=" serves both; entries for other schemes (ftp=, socks=) are
// ignored. Proxies are spoken to over plain HTTP, and a port left out is 80.
// A request of a scheme that no entry serves goes direct, and so does one to
// a host on the bypass list: entries separated by blanks or semicolons, each a
// host name that may hold "*" wildcards (any letter case), or "<local>" for
// every name without a dot.

#include <string>
#include <string_view>
#include <vector>

namespace vellumry::net {

class ProxyList {
public:
    ProxyList() = default;  // no proxy at all

    static ProxyList Parse(std::string_view list, std::string_view bypass = {});

    // The proxy address for a request of `scheme` ("http" or "https") to
    // `host` as "http://server:port", or empty for a direct connection.
    const std::string& For(std::string_view scheme, std::string_view host) const;

    bool Empty() const { return m_http.empty() && m_https.empty(); }

private:
    bool Bypassed(std::string_view host) const;

    std::string m_http;
    std::string m_https;
    std::vector<std::string> m_bypass;  // lower-case patterns
};

}  // namespace vellumry::net
