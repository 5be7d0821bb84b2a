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

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

bool WantsKeepAlive(std::string_view head)
{
    size_t lineEnd = head.find("\r\n");
    std::string_view requestLine = head.substr(0, lineEnd);
    bool keepAlive = requestLine.size() >= 8 && requestLine.substr(requestLine.size() - 8) == "HTTP/1.1";
    while (lineEnd != std::string_view::npos) {
        size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string_view line = head.substr(start, lineEnd == std::string_view::npos ? std::string_view::npos
                                                                                      : lineEnd - start);
        size_t colon = line.find(':');
        if (colon == std::string_view::npos || Lower(Trim(line.substr(0, colon))) != "connection")
            continue;
        std::string value = Lower(Trim(line.substr(colon + 1)));
        if (value == "close")
            keepAlive = false;
        else if (value == "keep-alive")
            keepAlive = true;
    }
    return keepAlive;
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
