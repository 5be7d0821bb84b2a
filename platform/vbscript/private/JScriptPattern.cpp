#include "platform/vbscript/private/JScriptPattern.h"

#include <cstdio>

namespace vellumry::vbscript {
namespace {

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

class Translator {
public:
    Translator(std::u16string_view pattern, std::string* error) : m_in(pattern), m_error(error) {}

    std::optional<std::u16string> Run()
    {
        m_groups = CountGroups();
        while (m_at < m_in.size()) {
            if (!(m_inClass ? ClassStep() : Step()))
                return std::nullopt;
        }
        if (m_inClass)
            return Fail("a character class is not closed");
        return std::move(m_out);
    }

private:
    std::optional<std::u16string> Fail(const char* message)
    {
        if (m_error)
            *m_error = message;
        return std::nullopt;
    }
    bool Error(const char* message)
    {
        Fail(message);
        return false;
    }

    char16_t Peek(std::size_t ahead = 0) const
    {
        return m_at + ahead < m_in.size() ? m_in[m_at + ahead] : u'\0';
    }

    void Character(char32_t c)
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "\\x{%X}", static_cast<unsigned>(c));
        for (const char* p = buffer; *p; ++p)
            m_out += static_cast<char16_t>(*p);
    }

    // Capturing groups: "(" not followed by "?", outside classes and escapes.
    int CountGroups() const
    {
        int groups = 0;
        bool inClass = false;
        for (std::size_t i = 0; i < m_in.size(); ++i) {
            char16_t c = m_in[i];
            if (c == u'\\')
                ++i;
            else if (inClass)
                inClass = c != u']';
            else if (c == u'[')
                inClass = true;
            else if (c == u'(' && (i + 1 >= m_in.size() || m_in[i + 1] != u'?'))
                ++groups;
        }
        return groups;
    }

    bool Step()
    {
        char16_t c = m_in[m_at++];
        switch (c) {
        case u'\\': return Escape();
        case u'[':
            m_out += u'[';
            m_inClass = true;
            if (Peek() == u'^') {
                m_out += u'^';
                ++m_at;
            }
            // A "]" right here closes an empty class, as PCRE2 takes it with
            // ALLOW_EMPTY_CLASS.
            if (Peek() == u']') {
                m_out += u']';
                ++m_at;
                m_inClass = false;
            }
            return true;
        case u'(':
            if (Peek() == u'?') {
                char16_t kind = Peek(1);
                if (kind != u':' && kind != u'=' && kind != u'!')
                    return Error("unknown group construct");
                m_out += u"(?";
                m_out += kind;
                m_at += 2;
                return true;
            }
            m_out += u'(';
            return true;
        case u'*':
        case u'+':
        case u'?':
            m_out += c;
            return QuantifierSuffix();
        case u'{': {
            std::size_t end = QuantifierEnd();
            if (end == 0) {
                m_out += u"\\{";
                return true;
            }
            m_out += u'{';
            m_out.append(m_in.substr(m_at, end - m_at));
            m_at = end;
            return QuantifierSuffix();
        }
        case u'}': m_out += u"\\}"; return true;
        case u']': m_out += u"\\]"; return true;
        default: m_out += c; return true;
        }
    }

    // After a quantifier: "?" makes it lazy; "+" is a syntax error.
    bool QuantifierSuffix()
    {
        if (Peek() == u'?') {
            m_out += u'?';
            ++m_at;
        }
        if (Peek() == u'+')
            return Error("nothing to repeat");
        return true;
    }

    // With m_at just after "{": the index after the closing "}" of a valid
    // quantifier {n}, {n,} or {n,m}, or 0.
    std::size_t QuantifierEnd() const
    {
        std::size_t i = m_at;
        std::size_t digits = i;
        while (i < m_in.size() && IsDigit(m_in[i]))
            ++i;
        if (i == digits)
            return 0;
        if (i < m_in.size() && m_in[i] == u',') {
            ++i;
            while (i < m_in.size() && IsDigit(m_in[i]))
                ++i;
        }
        return i < m_in.size() && m_in[i] == u'}' ? i + 1 : 0;
    }

    bool ClassStep()
    {
        char16_t c = m_in[m_at++];
        if (c == u'\\')
            return Escape();
        if (c == u']')
            m_inClass = false;
        if (c == u'[')
            m_out += u"\\[";
        else
            m_out += c;
        return true;
    }

    bool Escape()
    {
        if (m_at >= m_in.size())
            return Error("the pattern ends with a backslash");
        char16_t c = m_in[m_at++];
        switch (c) {
        case u'd':
        case u'D':
        case u'w':
        case u'W':
        case u's':
        case u'S':
        case u'f':
        case u'n':
        case u'r':
        case u't':
            m_out += u'\\';
            m_out += c;
            return true;
        case u'b':
            if (m_inClass)
                Character(0x08);
            else
                m_out += u"\\b";
            return true;
        case u'B':
            if (m_inClass)
                m_out += u'B';
            else
                m_out += u"\\B";
            return true;
        case u'v': Character(0x0B); return true;
        case u'c':
            if (IsAsciiLetter(Peek())) {
                Character(Peek() % 32);
                ++m_at;
            } else {
                m_out += u"\\\\c";
            }
            return true;
        case u'x':
        case u'u': {
            std::size_t digits = c == u'x' ? 2 : 4;
            char32_t value = 0;
            for (std::size_t i = 0; i < digits; ++i) {
                char16_t d = Peek(i);
                if (!IsHexDigit(d)) {
                    m_out += c;
                    return true;
                }
                value = value * 16 + (IsDigit(d) ? d - u'0' : (d | 0x20) - u'a' + 10);
            }
            m_at += digits;
            Character(value);
            return true;
        }
        default: break;
        }
        if (IsDigit(c)) {
            --m_at;
            return Number();
        }
        // Any other escaped character stands for itself.
        if (c < 0x80 && !IsAsciiLetter(c) && !IsDigit(c))
            m_out += u'\\';
        m_out += c;
        return true;
    }

    // A back-reference or an octal character, with m_at on the first digit.
    bool Number()
    {
        std::size_t start = m_at;
        long value = 0;
        std::size_t end = start;
        while (end < m_in.size() && IsDigit(m_in[end]) && end - start < 9)
            value = value * 10 + (m_in[end++] - u'0');
        if (!m_inClass && m_in[start] != u'0' && value <= m_groups) {
            m_at = end;
            std::string reference = "(?:\\g{" + std::to_string(value) + "})";
            m_out.append(reference.begin(), reference.end());
            return true;
        }
        if (m_in[start] >= u'8') {
            // Not octal: the digit itself.
            m_out += m_in[m_at++];
            return true;
        }
        unsigned octal = 0;
        std::size_t i = start;
        while (i < m_in.size() && i - start < 3 && m_in[i] >= u'0' && m_in[i] <= u'7' &&
               octal * 8 + (m_in[i] - u'0') <= 0377)
            octal = octal * 8 + (m_in[i++] - u'0');
        m_at = i;
        Character(octal);
        return true;
    }

    std::u16string_view m_in;
    std::string* m_error;
    std::u16string m_out;
    std::size_t m_at = 0;
    bool m_inClass = false;
    int m_groups = 0;
};

}  // namespace

std::optional<std::u16string> TranslateJScriptPattern(std::u16string_view pattern, std::string* error)
{
    return Translator(pattern, error).Run();
}

}  // namespace vellumry::vbscript
