#include "web/UrlParts.h"

#include <limits>

#include "runtime/commands/TextWalks.h"
#include "web/HeaderText.h"
#include "web/WebTexts.h"

namespace vellumry::web {
namespace {

using runtime::commands::FindFrom;
using runtime::commands::kNotFoundOffset;
using runtime::commands::LowerAscii;

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The length of the scheme the address begins with ("http://" or "https://",
// any letter case), 0 when it begins with neither.
std::size_t SchemeLength(std::string_view address)
{
    std::string lowered = LowerAscii(address.substr(0, std::string_view(texts::kHttpsScheme).size()));
    if (StartsWith(lowered, texts::kHttpsScheme))
        return std::string_view(texts::kHttpsScheme).size();
    if (StartsWith(lowered, texts::kHttpScheme))
        return std::string_view(texts::kHttpScheme).size();
    return 0;
}

// The last two dot-separated labels of a host name.
std::string_view RootLabels(std::string_view name)
{
    std::size_t last = name.rfind('.');
    if (last == std::string_view::npos || last == 0)
        return name;
    std::size_t before = name.rfind('.', last - 1);
    return before == std::string_view::npos ? name : name.substr(before + 1);
}

}  // namespace

std::string UrlHost(std::string_view address, UrlHostOptions options)
{
    std::string text = LowerAscii(address);
    if (text.empty() || text.back() != '/')
        text += texts::kSlash;
    std::string host;
    if (StartsWith(text, texts::kHttpsScheme)) {
        host = TextBetween(text, texts::kHttpsScheme, texts::kSlash);
    } else {
        // A scheme counts only at the start: an address without one may still
        // carry "http://" in its query, and the host is not there.
        if (!StartsWith(text, texts::kHttpScheme))
            text.insert(0, texts::kHttpScheme);
        host = TextBetween(text, texts::kHttpScheme, texts::kSlash);
    }

    std::size_t colon = FindFrom(host, texts::kColon, 0, false);
    std::string_view name = host;
    std::string_view port;
    if (colon != kNotFoundOffset) {
        name = std::string_view(host).substr(0, colon);
        port = std::string_view(host).substr(colon);
    }
    if (options.rootOnly)
        name = RootLabels(name);
    std::string result(name);
    if (options.keepPort)
        result += port;
    return result;
}

std::int32_t UrlPort(std::string_view address)
{
    std::string host = UrlHost(address, {.keepPort = true});
    std::size_t colon = host.rfind(':');
    if (colon == std::string::npos) {
        // The scheme decides, not a host name that happens to begin with
        // "https".
        bool secure = SchemeLength(address) == std::string_view(texts::kHttpsScheme).size();
        return secure ? 443 : 80;
    }
    std::int64_t port = 0;
    for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
        port = port * 10 + (host[i] - '0');
        if (port > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(port);
}

std::string UrlPath(std::string_view address)
{
    // The host is looked for after the scheme, so that a host such as "t"
    // is not found inside "http".
    std::size_t schemeEnd = SchemeLength(address);
    std::string host = UrlHost(address);
    std::size_t hostAt = host.empty() ? kNotFoundOffset : FindFrom(address, host, schemeEnd, true);
    if (hostAt == kNotFoundOffset)
        hostAt = schemeEnd;
    std::size_t slash = FindFrom(address, texts::kSlash, hostAt, true);
    if (slash == kNotFoundOffset)
        return std::string(texts::kSlash);
    return std::string(address.substr(slash));
}

}  // namespace vellumry::web
