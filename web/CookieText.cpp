#include "web/CookieText.h"

#include <algorithm>
#include <vector>

#include "runtime/commands/TextWalks.h"
#include "web/HeaderText.h"
#include "web/WebTexts.h"

namespace vellumry::web {
namespace {

using runtime::commands::FindFrom;
using runtime::commands::kNotFoundOffset;
using runtime::commands::SplitPieces;
using runtime::commands::TrimBlanks;
using runtime::commands::WithoutBlanks;

// Cuts the last `count` bytes off; a shorter text becomes empty.
void CutTail(std::string& text, std::size_t count)
{
    text.resize(text.size() > count ? text.size() - count : 0);
}

}  // namespace

std::string CookieName(std::string_view item)
{
    if (FindFrom(item, texts::kEquals, 0, false) == kNotFoundOffset)
        return std::string(TrimBlanks(item));
    return std::string(TrimBlanks(TextBefore(item, texts::kEquals)));
}

std::string UniqueJoin(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> kept;
    for (std::string_view piece : SplitPieces(text, separator))
        if (std::find(kept.begin(), kept.end(), piece) == kept.end())
            kept.push_back(piece);
    std::string joined;
    for (std::string_view piece : kept) {
        joined += piece;
        joined += separator;
    }
    CutTail(joined, separator.size());
    return joined;
}

std::string MergeCookies(std::string& oldCookies, std::string& newCookies)
{
    oldCookies = WithoutBlanks(oldCookies);
    newCookies = WithoutBlanks(newCookies);

    std::vector<std::string_view> items = SplitPieces(newCookies, texts::kSemicolon);
    std::vector<std::string> names;
    for (std::string_view item : items)
        names.push_back(CookieName(item));
    // The list grows while the old items are walked, so of several old items
    // with one name only the first joins it.
    for (std::string_view item : SplitPieces(oldCookies, texts::kSemicolon)) {
        std::string name = CookieName(item);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            items.push_back(item);
            names.push_back(std::move(name));
        }
    }

    std::string_view deleted = texts::kDeletedSuffix;
    std::string merged;
    for (std::string_view item : items) {
        if (item.size() >= deleted.size() && item.substr(item.size() - deleted.size()) == deleted)
            continue;
        merged += item;
        merged += texts::kCookieSeparator;
    }
    CutTail(merged, std::string_view(texts::kCookieSeparator).size());
    oldCookies = UniqueJoin(merged, texts::kCookieSeparator);
    return oldCookies;
}

}  // namespace vellumry::web
