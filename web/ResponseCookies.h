#pragma once

// The cookies a response set, as the request routines collect them from its
// header text: every line whose text before ": " is exactly "Set-Cookie"
// gives its value up to the first ";" (or the whole line without
// "Set-Cookie:" when it has none), trimmed; the values are joined by "; ".

#include <string>
#include <string_view>

namespace vellumry::web {

std::string CookiesFromHeaders(std::string_view responseHeaders);

// What a request routine hands back as the returned cookies: those the
// response set, and with `merge`, when the caller gave cookies
// (`sentCookies` not null), merged into those (MergeCookies), which leaves
// the merged text in `*sentCookies` too.
std::string ReturnedCookies(std::string_view responseHeaders, std::string* sentCookies, bool merge);

}  // namespace vellumry::web
