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

// The entries of a list separated by blanks or semicolons.
std::vector<std::string_view> Entries(std::string_view list)
{
    std::vector<std::string_view> entries;
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsSeparator(list[i]))
            ++i;
        std::size_t end = i;
        while (end < list.size() && !IsSeparator(list[end]))
            ++end;
        if (end > i)
            entries.push_back(list.substr(i, end - i));
        i = end;
    }
    return entries;
}

// Whether `text` matches `pattern`, where "*" stands for any run of bytes.
bool Matches(std::string_view pattern, std::string_view text)
{
    std::size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return pattern == text;
    if (text.substr(0, star) != pattern.substr(0, star))
        return false;
    std::string_view rest = pattern.substr(star + 1);
    for (std::size_t from = star; from <= text.size(); ++from)
        if (Matches(rest, text.substr(from)))
            return true;
    return false;
}

}  // namespace

ProxyList ProxyList::Parse(std::string_view list, std::string_view bypass)
{
    ProxyList proxies;
    std::string common;
    for (std::string_view entry : Entries(list)) {

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
    for (std::string_view entry : Entries(bypass))
        proxies.m_bypass.push_back(Lower(entry));
    return proxies;
}

const std::string& ProxyList::For(std::string_view scheme, std::string_view host) const
{
    static const std::string kDirect;
    if (Bypassed(host))
        return kDirect;
    return scheme == "https" ? m_https : m_http;
}

bool ProxyList::Bypassed(std::string_view host) const
{
    std::string name = Lower(host);
    for (const std::string& pattern : m_bypass) {
        if (pattern == "<local>" ? name.find('.') == std::string::npos : Matches(pattern, name))
            return true;
    }
    return false;
}

}  // namespace vellumry::net
