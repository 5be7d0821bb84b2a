// FindText, FindTextBackward, ReplaceSubText and SplitText: the commands that
// walk a text looking for another one (TextSearch.h).

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"
#include "runtime/commands/GbkCharacters.h"
#include "runtime/commands/TextCommands.h"
#include "runtime/commands/TextSearch.h"
#include "runtime/commands/TextWalks.h"

namespace vellumry::runtime::commands {
namespace {

constexpr std::int32_t kNotFound = -1;

std::int32_t PositionOf(std::size_t offset)
{
    return offset == TextSearch::kNone ? kNotFound : static_cast<std::int32_t>(offset + 1);
}

// A 1-based start position as the offset where a walk begins, at least 0.
std::size_t StartOffset(std::int32_t start)
{
    return static_cast<std::size_t>(std::max<std::int64_t>(static_cast<std::int64_t>(start) - 1, 0));
}

}  // namespace

void FindText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::string_view sought = args.Text(1);
    std::size_t from = StartOffset(args.Integer(2, 1));
    bool ignoreCase = args.Integer(3) == 1;
    ReturnInteger(result, PositionOf(FindFrom(text, sought, from, ignoreCase)));
}

void FindTextBackward(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::string_view sought = args.Text(1);
    if (args.IsGiven(2))
        text = text.substr(0, std::min(StartOffset(args.Integer(2)), text.size()));
    bool ignoreCase = args.Integer(3) == 1;
    if (sought.empty()) {
        ReturnInteger(result, text.empty() ? kNotFound : 1);
        return;
    }
    // The walk goes forward from the first byte and keeps the last match;
    // after a match it goes on with the next character.
    TextSearch search(text, sought, ignoreCase);
    std::size_t last = TextSearch::kNone;
    for (std::size_t at = search.Next(0); at != TextSearch::kNone; at = search.Next(at + CharacterLength(text, at)))
        last = at;
    ReturnInteger(result, PositionOf(last));
}

void ReplaceSubText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::string_view sought = args.Text(1);
    std::string_view replacement = args.Text(2);
    std::size_t from = StartOffset(args.Integer(3, 1));
    std::int32_t limit = args.Integer(4, -1);
    bool ignoreCase = !args.Flag(5, false);
    if (text.empty() || sought.empty() || from >= text.size() || limit == 0) {
        ReturnText(result, MakeTextOrNull(text));
        return;
    }
    // The matches first, so that the result is allocated once at its size.
    std::vector<std::size_t> matches;
    TextSearch search(text, sought, ignoreCase);
    for (std::size_t at = search.Next(from); at != TextSearch::kNone; at = search.Next(at + sought.size())) {
        matches.push_back(at);
        if (static_cast<std::int64_t>(matches.size()) == limit)
            break;
    }
    std::int64_t length = static_cast<std::int64_t>(text.size()) +
                          static_cast<std::int64_t>(matches.size()) *
                              (static_cast<std::int64_t>(replacement.size()) - static_cast<std::int64_t>(sought.size()));
    if (length == 0) {
        ReturnText(result, nullptr);
        return;
    }
    if (length + 1 > INT32_MAX)
        ReportAllocationFailure(length + 1);
    auto* out = static_cast<char*>(RuntimeAlloc(static_cast<std::int32_t>(length + 1)));
    char* end = out;
    std::size_t copied = 0;
    for (std::size_t at : matches) {
        end = std::copy(text.data() + copied, text.data() + at, end);
        end = std::copy(replacement.begin(), replacement.end(), end);
        copied = at + sought.size();
    }
    end = std::copy(text.data() + copied, text.data() + text.size(), end);
    *end = '\0';
    ReturnText(result, out);
}

void SplitText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view text = args.Text(0);
    std::string_view separator = args.IsGiven(1) ? args.Text(1) : std::string_view(",");
    std::int64_t maximum = std::max(args.Integer(2, INT32_MAX), 0);

    std::vector<std::string_view> pieces = SplitPieces(text, separator, static_cast<std::size_t>(maximum));

    ArrayBlock array = MakeArray(static_cast<std::int32_t>(pieces.size()), kPointerElementSize);
    auto* element = static_cast<std::uint8_t*>(ArrayElements(array).first);
    for (std::string_view piece : pieces) {
        StoreElement<void*>(element, MakeTextOrNull(piece));
        element += kPointerElementSize;
    }
    ReturnArray(result, array, kTextType);
}

}  // namespace vellumry::runtime::commands
