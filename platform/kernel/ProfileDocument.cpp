#include "platform/kernel/private/ProfileDocument.h"

namespace vellumry::kernel {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsLeadByte(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Position of the first single-byte character `wanted`, or npos.
std::size_t FindCharacter(std::string_view text, char wanted)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(text[i]))
            ++i;
        else if (text[i] == wanted)
            return i;
    }
    return std::string_view::npos;
}

// Equal without ASCII letter case; two-byte characters compare exactly.
bool NamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i])) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1]))
                return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

enum class LineKind { Blank, Other, Comment, Section, Key };

struct Line {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

Line ParseLine(std::string_view raw)
{
    std::string_view text = Trim(raw);
    if (text.empty())
        return {LineKind::Blank, {}, {}};
    if (text.front() == '[') {
        std::string_view inside = text.substr(1);
        return {LineKind::Section, Trim(inside.substr(0, FindCharacter(inside, ']'))), {}};
    }
    if (text.front() == ';')
        return {LineKind::Comment, {}, {}};
    std::size_t equals = FindCharacter(text, '=');
    if (equals == std::string_view::npos)
        return {LineKind::Other, {}, {}};
    return {LineKind::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

// Hands out the lines of a file without their line ends.
class LineCursor {
public:
    explicit LineCursor(std::string_view file) : m_rest(file) {}

    bool Next(std::string_view& line)
    {
        if (m_rest.empty())
            return false;
        std::size_t end = m_rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line = m_rest;
            m_rest = {};
            return true;
        }
        line = m_rest.substr(0, end);
        std::size_t next = end + 1;
        if (m_rest[end] == '\r' && next < m_rest.size() && m_rest[next] == '\n')
            ++next;
        m_rest.remove_prefix(next);
        return true;
    }

private:
    std::string_view m_rest;
};

void AppendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append("\r\n");
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view file, std::string_view section,
                                                 std::string_view key)
{
    section = Trim(section);
    key = Trim(key);
    LineCursor cursor(file);
    std::string_view raw;
    bool inSection = false;
    while (cursor.Next(raw)) {
        Line line = ParseLine(raw);
        if (line.kind == LineKind::Section) {
            if (inSection)
                return std::nullopt;  // the first matching section has ended
            inSection = NamesEqual(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && NamesEqual(line.name, key)) {
            return StripQuotes(line.value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> EditProfile(std::string_view file, const ProfileEdit& edit)
{
    const std::string_view section = Trim(edit.section);
    const std::string_view key = Trim(edit.key);
    const bool setting = edit.kind == ProfileEditKind::SetValue;
    const bool removingSection = edit.kind == ProfileEditKind::RemoveSection;
    std::string keyLine;
    if (setting) {
        keyLine.append(key).append("=").append(edit.value);
        keyLine.append("\r\n");
    }

    std::string out;
    out.reserve(file.size() + keyLine.size() + section.size() + 8);
    bool changed = setting;
    bool inMatch = false;       // the current section has the name
    bool inFirstMatch = false;  // ... and is its first occurrence
    bool seenMatch = false;
    bool placed = false;        // the key line has been written
    std::size_t insertAt = 0;   // after the last non-blank line of the first match

    auto placeAtInsertPoint = [&] {
        if (setting && inFirstMatch && !placed) {
            out.insert(insertAt, keyLine);
            placed = true;
        }
    };

    LineCursor cursor(file);
    std::string_view raw;
    while (cursor.Next(raw)) {
        Line line = ParseLine(raw);
        if (line.kind == LineKind::Section) {
            placeAtInsertPoint();
            inMatch = NamesEqual(line.name, section);
            inFirstMatch = inMatch && !seenMatch;
            seenMatch = seenMatch || inMatch;
            if (inMatch && removingSection) {
                changed = true;
                continue;
            }
            AppendLine(out, raw);
            insertAt = out.size();
            continue;
        }
        if (inMatch && removingSection)
            continue;
        if (inMatch && line.kind == LineKind::Key && NamesEqual(line.name, key)) {
            if (edit.kind == ProfileEditKind::RemoveKey) {
                changed = true;
                continue;
            }
            if (setting && inFirstMatch && !placed) {
                out.append(keyLine);
                placed = true;
                insertAt = out.size();
                continue;
            }
        }
        AppendLine(out, raw);
        if (line.kind != LineKind::Blank)
            insertAt = out.size();
    }
    placeAtInsertPoint();
    if (setting && !placed) {
        out.append("[").append(section).append("]\r\n");
        out.append(keyLine);
    }
    if (!changed)
        return std::nullopt;
    return out;
}

}  // namespace vellumry::kernel
