#include "runtime/commands/TextSearch.h"

#include <algorithm>
#include <cstring>

#include "runtime/commands/GbkCharacters.h"

namespace vellumry::runtime::commands {
namespace {

// The next position at or after `from` holding `c`, or `end`.
std::size_t FindByte(std::string_view text, std::size_t from, std::size_t end, char c)
{
    if (from >= end)
        return end;
    const void* at = std::memchr(text.data() + from, c, end - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : end;
}

}  // namespace

TextSearch::TextSearch(std::string_view text, std::string_view sought, bool ignoreCase)
    : m_text(text),
      m_sought(sought),
      m_ignoreCase(ignoreCase),
      m_lastCandidate(sought.size() <= text.size() ? text.size() - sought.size() : 0)
{
    m_firstLower = m_ignoreCase ? FoldAscii(sought[0]) : sought[0];
    m_firstUpper = m_ignoreCase && m_firstLower >= 'a' && m_firstLower <= 'z'
                       ? static_cast<char>(m_firstLower - ('a' - 'A'))
                       : m_firstLower;
}

std::size_t TextSearch::Next(std::size_t from)
{
    if (m_sought.size() > m_text.size())
        return kNone;
    m_known = from;
    while (true) {
        std::size_t candidate = NextCandidate(m_known);
        if (candidate == kNone)
            return kNone;
        if (StartsCharacter(candidate))
            return candidate;
    }
}

std::size_t TextSearch::NextCandidate(std::size_t from)
{
    if (!m_ignoreCase && m_sought.size() > kShortSought) {
        if (from > m_lastCandidate)
            return kNone;
        const void* found = memmem(m_text.data() + from, m_text.size() - from, m_sought.data(), m_sought.size());
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - m_text.data()) : kNone;
    }
    while (from <= m_lastCandidate) {
        std::size_t at = NextFirstByte(from);
        if (at > m_lastCandidate)
            return kNone;
        bool matches = m_ignoreCase ? EqualIgnoringCase(m_text.data() + at, m_sought.data(), m_sought.size())
                                    : std::memcmp(m_text.data() + at, m_sought.data(), m_sought.size()) == 0;
        if (matches)
            return at;
        from = at + 1;
    }
    return kNone;
}

std::size_t TextSearch::NextFirstByte(std::size_t from)
{
    // `from` never goes back, so a cached position at or after it is still
    // the next one.
    std::size_t end = m_lastCandidate + 1;
    if (!m_cached || m_nextLower < from)
        m_nextLower = FindByte(m_text, from, end, m_firstLower);
    if (m_firstUpper != m_firstLower && (!m_cached || m_nextUpper < from))
        m_nextUpper = FindByte(m_text, from, end, m_firstUpper);
    m_cached = true;
    return m_firstUpper == m_firstLower ? m_nextLower : std::min(m_nextLower, m_nextUpper);
}

bool TextSearch::StartsCharacter(std::size_t position)
{
    // Back from `position` over bytes of 0x80 and above, but not behind the
    // last known character start.
    std::size_t runStart = position;
    while (runStart > m_known && IsLeadByte(m_text[runStart - 1]))
        --runStart;
    bool starts = (position - runStart) % 2 == 0;
    // Either the candidate starts a character, or it is a trail byte and the
    // next character starts right after it.
    m_known = position + (starts ? 0 : 1);
    return starts;
}

}  // namespace vellumry::runtime::commands
