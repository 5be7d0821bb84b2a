#pragma once

// The character walks of the text commands on plain views, for the commands
// and for other code that follows the same text rules (the web helpers):
// GBK texts walked character by character (GbkCharacters.h), blanks being
// the space and the ideographic space, searches that match only where a
// character starts (TextSearch.h). Stateless; any thread.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellumry::runtime::commands {

inline constexpr std::size_t kNotFoundOffset = std::string_view::npos;

// The offset of the first match of `sought` at or after `from` (taken as the
// start of a character), or kNotFoundOffset, as FindText answers: the empty
// sought text is found at the first byte whenever bytes remain at `from`.
std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from, bool ignoreCase);

// Without blanks at both ends.
std::string_view TrimBlanks(std::string_view text);

// Without any blank.
std::string WithoutBlanks(std::string_view text);

// A to Z lowered, two-byte characters unchanged.
std::string LowerAscii(std::string_view text);

// Every match of `sought` replaced, scanning from the start; an empty sought
// text replaces nothing.
std::string ReplaceAll(std::string_view text, std::string_view sought, std::string_view replacement,
                       bool ignoreCase);

// Cut at every separator: empty pieces between separators remain, an empty
// piece after the last separator does not, the empty text gives no piece and
// the empty separator gives the whole text. At most `maximum` pieces.
std::vector<std::string_view> SplitPieces(std::string_view text, std::string_view separator,
                                          std::size_t maximum = static_cast<std::size_t>(-1));

}  // namespace vellumry::runtime::commands
