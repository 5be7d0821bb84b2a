#pragma once

// Cookie texts as the request routines keep them: "name=value" items joined
// by "; ". Texts are GBK bytes; comparisons are exact. Stateless; any thread.

#include <string>
#include <string_view>

namespace vellumry::web {

// The trimmed text before the first "=" of the item; the whole item, trimmed,
// when it has none.
std::string CookieName(std::string_view item);

// The pieces of the text split by the separator, each kept at its first
// occurrence only, joined again by the separator.
std::string UniqueJoin(std::string_view text, std::string_view separator);

// Brings the cookies that were sent (`oldCookies`) up to date with the ones a
// server set (`newCookies`): the server's items first, then sent items whose
// name the server did not mention, without items ending in "=deleted" and
// without exact duplicates. Blanks are removed from both texts first, and
// both variables keep the stripped texts; `oldCookies` then receives the
// result, which is also returned.
std::string MergeCookies(std::string& oldCookies, std::string& newCookies);

}  // namespace vellumry::web
