#include "runtime/commands/TextWalks.h"

#include "runtime/commands/GbkCharacters.h"
#include "runtime/commands/TextSearch.h"

namespace vellumry::runtime::commands {

std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from, bool ignoreCase)
{
    if (from >= text.size())
        return kNotFoundOffset;
    if (sought.empty())
        return 0;
    return TextSearch(text, sought, ignoreCase).Next(from);
}

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t blank = BlankLength(text, begin);
        if (blank == 0)
            break;
        begin += blank;
    }
    // The end of the last character that is not a blank.
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        std::size_t length = CharacterLength(text, i);
        if (BlankLength(text, i) == 0)
            end = i + length;
        i += length;
    }
    return text.substr(begin, end - begin);
}

std::string WithoutBlanks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = CharacterLength(text, i);
        if (BlankLength(text, i) == 0)
            kept.append(text.substr(i, length));
        i += length;
    }
    return kept;
}

std::string LowerAscii(std::string_view text)
{
    std::string lowered(text);
    for (std::size_t i = 0; i < lowered.size(); i += CharacterLength(lowered, i))
        lowered[i] = FoldAscii(lowered[i]);
    return lowered;
}

std::string ReplaceAll(std::string_view text, std::string_view sought, std::string_view replacement,
                       bool ignoreCase)
{
    if (text.empty() || sought.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    TextSearch search(text, sought, ignoreCase);
    std::size_t copied = 0;
    for (std::size_t at = search.Next(0); at != TextSearch::kNone; at = search.Next(at + sought.size())) {
        out.append(text.substr(copied, at - copied));
        out.append(replacement);
        copied = at + sought.size();
    }
    out.append(text.substr(copied));
    return out;
}

std::vector<std::string_view> SplitPieces(std::string_view text, std::string_view separator, std::size_t maximum)
{
    std::vector<std::string_view> pieces;
    if (text.empty() || maximum == 0)
        return pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    TextSearch search(text, separator, false);
    std::size_t from = 0;
    for (std::size_t at = search.Next(from); at != TextSearch::kNone; at = search.Next(from)) {
        pieces.push_back(text.substr(from, at - from));
        from = at + separator.size();
        if (pieces.size() == maximum)
            return pieces;
    }
    if (from < text.size())
        pieces.push_back(text.substr(from));
    return pieces;
}

}  // namespace vellumry::runtime::commands
