#pragma once

// The cookies a response set, as the request routines collect them from its
// header text: every line whose text before ": " is exactly "Set-Cookie"
// gives its value up to the first ";" (or the whole line without
// "Set-Cookie:" when it has none), trimmed; the values are joined by "; ".

#include <string>
#include <string_view>

namespace vellumry::web {

std::string CookiesFromHeaders(std::string_view responseHeaders);

}  // namespace vellumry::web
