#pragma once

// The search walk of the text commands. A walk starts at a given byte, which
// it takes as the start of a character, and moves from character to
// character; a sought text matches only where a character starts, so it is
// never found across a character boundary or inside a two-byte character.
//
// The walk is not done byte by byte. Candidates come from a fast byte search
// (memmem for longer sought texts, otherwise memchr on the first byte, in
// both letter cases when ignoring case, which beats the C library's byte
// loop for needles of one or two bytes), and a
// candidate is checked for being a character start by looking back: any byte
// below 0x80 ends a character, and in a run of bytes of 0x80 and above the
// characters are pairs counted from the run's start. The look-back never goes
// behind the last position already known to start a character, so the whole
// search stays linear in the text and allocates nothing.

#include <cstddef>
#include <string_view>

namespace vellumry::runtime::commands {

class TextSearch {
public:
    static constexpr std::size_t kNone = std::string_view::npos;

    // `sought` must not be empty. Both views must outlive the search.
    TextSearch(std::string_view text, std::string_view sought, bool ignoreCase);

    // The first match at or after `from`, where `from` is taken as the start
    // of a character (a walk's origin, or the character after an earlier
    // match). Calls must not go back behind an earlier answer.
    std::size_t Next(std::size_t from);

private:
    // Sought texts up to this long are found by their first byte.
    static constexpr std::size_t kShortSought = 2;

    std::size_t NextCandidate(std::size_t from);
    std::size_t NextFirstByte(std::size_t from);
    bool StartsCharacter(std::size_t position);

    std::string_view m_text;
    std::string_view m_sought;
    bool m_ignoreCase;
    std::size_t m_lastCandidate;  // candidates lie at or before this position
    std::size_t m_known = 0;      // a position known to start a character
    // Next positions of the sought text's first byte in each letter case,
    // kept so that a rare case is not searched for again and again.
    char m_firstLower = 0;
    char m_firstUpper = 0;
    std::size_t m_nextLower = 0;
    std::size_t m_nextUpper = 0;
    bool m_cached = false;
};

}  // namespace vellumry::runtime::commands
