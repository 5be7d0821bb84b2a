#include "platform/net/CookieJar.h"

#include <string_view>

namespace vellumry::net {
namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";

// Domain, path and name of a cookie line ("domain, tail match, path, secure,
// expiry, name, value", tab-separated); empty for a line of another shape.
std::string KeyOf(std::string_view line)
{
    std::string_view fields[7];
    std::size_t count = 0;
    while (count < 7) {
        std::size_t tab = line.find('\t');
        fields[count++] = line.substr(0, tab);
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    if (count < 7)
        return {};
    std::string_view domain = fields[0];
    if (domain.substr(0, kHttpOnlyPrefix.size()) == kHttpOnlyPrefix)
        domain.remove_prefix(kHttpOnlyPrefix.size());
    std::string key(domain);
    key += '\t';
    key += fields[2];
    key += '\t';
    key += fields[5];
    return key;
}

std::map<std::string, std::string> ByKey(const std::vector<std::string>& lines)
{
    std::map<std::string, std::string> keyed;
    for (const std::string& line : lines) {
        std::string key = KeyOf(line);
        if (!key.empty())
            keyed[std::move(key)] = line;
    }
    return keyed;
}

}  // namespace

std::vector<std::string> CookieJar::Snapshot() const
{
    std::lock_guard guard(m_lock);
    std::vector<std::string> lines;
    lines.reserve(m_cookies.size());
    for (const auto& [key, line] : m_cookies)
        lines.push_back(line);
    return lines;
}

void CookieJar::Update(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::map<std::string, std::string> old = ByKey(before);
    std::map<std::string, std::string> now = ByKey(after);
    std::lock_guard guard(m_lock);
    for (const auto& [key, line] : old) {
        if (now.count(key) != 0)
            continue;
        auto stored = m_cookies.find(key);
        if (stored != m_cookies.end() && stored->second == line)
            m_cookies.erase(stored);
    }
    for (auto& [key, line] : now) {
        auto was = old.find(key);
        if (was == old.end() || was->second != line)
            m_cookies[key] = line;
    }
}

void CookieJar::Clear()
{
    std::lock_guard guard(m_lock);
    m_cookies.clear();
}

bool CookieJar::Empty() const
{
    std::lock_guard guard(m_lock);
    return m_cookies.empty();
}

CookieJar& ProcessCookieStore()
{
    static CookieJar store;
    return store;
}

}  // namespace vellumry::net
