// Fuzz target for the web routines' text work on outside bytes: picture and
// page addresses taken from pages, response header blocks and the cookie
// texts a server sets. The input is cut at its first zero byte into two
// texts.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/CookieText.h"
#include "web/HeaderText.h"
#include "web/ResponseCookies.h"
#include "web/UrlParts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vellumry::web;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t cut = input.find('\0');
    std::string first(input.substr(0, cut));
    std::string second(cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1));

    std::string host = UrlHost(first, {.rootOnly = (size & 1) != 0, .keepPort = (size & 2) != 0});
    (void)UrlPort(first);
    std::string path = UrlPath(first);
    if (path.empty() || path.front() != '/')
        std::abort();
    (void)HeaderName(first);
    (void)HeaderValue(second);
    std::string_view markers = second;
    (void)TextBetween(first, markers.substr(0, 3), markers.substr(std::min<std::size_t>(3, markers.size()), 3));

    std::string sent = second;
    std::string returned = ReturnedCookies(first, &sent, true);
    if (returned != sent)
        std::abort();
    (void)UniqueJoin(first, markers.substr(0, 2));
    return 0;
}
