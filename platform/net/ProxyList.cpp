#include "platform/net/ProxyList.h"

#include <cctype>

namespace vellumry::net {
namespace {

bool IsSeparator(char c)
{
    return c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Lower(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

// "[<scheme>://]<server>[:<port>]" as "http://server:port"; empty when no
// server is named.
std::string ProxyAddress(std::string_view server)
{
    std::size_t schemeEnd = server.find("://");
    if (schemeEnd != std::string_view::npos)
        server.remove_prefix(schemeEnd + 3);
    while (!server.empty() && server.back() == '/')
        server.remove_suffix(1);
    if (server.empty())
        return {};
    // A port is present when the last ":" is not inside a bracketed IPv6
    // address.
    std::size_t colon = server.rfind(':');
    std::size_t bracket = server.rfind(']');
    bool hasPort = colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket);
    std::string address = "http://" + std::string(server);
    if (!hasPort)
        address += ":80";
    return address;
}

}  // namespace

ProxyList ProxyList::Parse(std::string_view list)
{
    ProxyList proxies;
    std::string common;
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsSeparator(list[i]))
            ++i;
        std::size_t end = i;
        while (end < list.size() && !IsSeparator(list[end]))
            ++end;
        std::string_view entry = list.substr(i, end - i);
        i = end;
        if (entry.empty())
            continue;

        std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            if (common.empty())
                common = ProxyAddress(entry);
            continue;
        }
        std::string scheme = Lower(entry.substr(0, equals));
        std::string address = ProxyAddress(entry.substr(equals + 1));
        if (scheme == "http" && proxies.m_http.empty())
            proxies.m_http = address;
        else if (scheme == "https" && proxies.m_https.empty())
            proxies.m_https = address;
    }
    if (proxies.m_http.empty())
        proxies.m_http = common;
    if (proxies.m_https.empty())
        proxies.m_https = common;
    return proxies;
}

const std::string& ProxyList::For(std::string_view scheme) const
{
    return scheme == "https" ? m_https : m_http;
}

}  // namespace vellumry::net
