#pragma once

// The character rules shared by the commands that walk texts: a byte of 0x80
// or above leads a two-byte character and is stepped over together with the
// byte after it; ignoring case folds only the ASCII letters A to Z.

#include <cstddef>
#include <string_view>

namespace vellumry::runtime::commands {

inline bool IsLeadByte(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

inline char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Bytes of the character at `i`: 2 for a lead byte with a byte after it,
// otherwise 1 (a lead byte at the very end stands alone).
inline std::size_t CharacterLength(std::string_view text, std::size_t i)
{
    return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// `n` bytes at `a` and `b`, both starting a character, compared with ASCII
// letters folded. A two-byte character is compared exactly, so a trail byte
// that happens to have a letter's code never matches another character.
inline bool EqualIgnoringCase(const char* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (IsLeadByte(a[i])) {
            if (a[i] != b[i] || (i + 1 < n && a[i + 1] != b[i + 1]))
                return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// A blank is the space or the ideographic space 0xA1 0xA1; its length at `i`
// (0 when the character there is no blank).
inline std::size_t BlankLength(std::string_view text, std::size_t i)
{
    if (text[i] == ' ')
        return 1;
    if (text[i] == '\xA1' && i + 1 < text.size() && text[i + 1] == '\xA1')
        return 2;
    return 0;
}

}  // namespace vellumry::runtime::commands
