#include "web/HeaderText.h"

#include <algorithm>

#include "runtime/commands/TextWalks.h"
#include "web/RegexTexts.h"
#include "web/WebTexts.h"

namespace vellumry::web {
namespace {

using runtime::commands::FindFrom;
using runtime::commands::kNotFoundOffset;
using runtime::commands::ReplaceAll;
using runtime::commands::TrimBlanks;

std::size_t StartOffset(std::int32_t start)
{
    return static_cast<std::size_t>(std::max<std::int64_t>(static_cast<std::int64_t>(start) - 1, 0));
}

std::string WithQuotes(std::string_view marker)
{
    return ReplaceAll(marker, texts::kQuoteMarker, "\"", false);
}

}  // namespace

std::string HeaderName(std::string_view line)
{
    std::size_t colon = FindFrom(line, texts::kColon, 0, false);
    return colon == kNotFoundOffset ? std::string() : std::string(TrimBlanks(line.substr(0, colon)));
}

std::string HeaderValue(std::string_view line)
{
    std::size_t colon = FindFrom(line, texts::kColon, 0, false);
    return colon == kNotFoundOffset ? std::string() : std::string(TrimBlanks(line.substr(colon + 1)));
}

std::string TextBefore(std::string_view text, std::string_view marker, std::int32_t start, bool ignoreCase)
{
    std::size_t found = FindFrom(text, marker, StartOffset(start), ignoreCase);
    return found == kNotFoundOffset ? std::string() : std::string(text.substr(0, found));
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right, std::int32_t start,
                        bool ignoreCase)
{
    std::string leftMarker = WithQuotes(left);
    std::string rightMarker = WithQuotes(right);
    std::size_t found = FindFrom(text, leftMarker, StartOffset(start), ignoreCase);
    if (found == kNotFoundOffset)
        return {};
    std::size_t valueStart = found + leftMarker.size();
    std::size_t end = FindFrom(text, rightMarker, valueStart, ignoreCase);
    // An empty right marker is found at the first byte, before the value.
    if (end == kNotFoundOffset || end < valueStart)
        return {};
    return std::string(text.substr(valueStart, end - valueStart));
}

}  // namespace vellumry::web
