#include "tools/gallery/GalleryRequest.h"

#include <algorithm>
#include <charconv>

namespace vellumry::gallery {

std::optional<RequestLine> ParseRequestHead(std::string_view head)
{
    if (head.find("\r\n\r\n") == std::string_view::npos)
        return std::nullopt;
    std::string_view line = head.substr(0, head.find("\r\n"));
    size_t firstSpace = line.find(' ');
    if (firstSpace == std::string_view::npos || firstSpace == 0)
        return std::nullopt;
    size_t secondSpace = line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos || secondSpace == firstSpace + 1 ||
        line.substr(secondSpace + 1).substr(0, 5) != "HTTP/")
        return std::nullopt;
    std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    target = target.substr(0, target.find('?'));
    return RequestLine{std::string(line.substr(0, firstSpace)), std::string(target)};
}

std::optional<FaultPath> ParseFault(std::string_view path)
{
    constexpr std::string_view kPrefix = "/fault/";
    if (path.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    std::string_view after = path.substr(kPrefix.size());
    size_t slash = after.find('/');
    if (slash == std::string_view::npos)
        return FaultPath{after, {}};
    return FaultPath{after.substr(0, slash), after.substr(slash)};
}

std::optional<std::pair<int, std::string_view>> LeadingNumber(std::string_view rest)
{
    if (rest.empty() || rest[0] != '/')
        return std::nullopt;
    rest.remove_prefix(1);
    size_t end = std::min(rest.find('/'), rest.size());
    int value = 0;
    auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + end, value);
    if (end == 0 || ec != std::errc() || ptr != rest.data() + end)
        return std::nullopt;
    return std::pair{value, rest.substr(end)};
}

}  // namespace vellumry::gallery
