#include "web/ResponseCookies.h"

#include "runtime/commands/TextWalks.h"
#include "web/CookieText.h"
#include "web/HeaderText.h"
#include "web/RequestHeaders.h"
#include "web/WebTexts.h"

namespace vellumry::web {

std::string CookiesFromHeaders(std::string_view responseHeaders)
{
    using namespace runtime::commands;
    std::string cookies;
    for (std::string_view line : SplitPieces(responseHeaders, texts::kCrLf)) {
        if (TextBefore(line, texts::kHeaderSeparator) != texts::kSetCookie)
            continue;
        std::string value = ContainsText(line, texts::kSemicolon)
                                ? TextBetween(line, texts::kSetCookieName, texts::kSemicolon)
                                : ReplaceAll(line, texts::kSetCookieName, "", true);
        cookies += TrimBlanks(value);
        cookies += texts::kCookieSeparator;
    }
    std::size_t separator = std::string_view(texts::kCookieSeparator).size();
    cookies.resize(cookies.size() > separator ? cookies.size() - separator : 0);
    return cookies;
}

std::string ReturnedCookies(std::string_view responseHeaders, std::string* sentCookies, bool merge)
{
    std::string returned = CookiesFromHeaders(responseHeaders);
    if (merge && sentCookies != nullptr)
        returned = MergeCookies(*sentCookies, returned);
    return returned;
}

}  // namespace vellumry::web
