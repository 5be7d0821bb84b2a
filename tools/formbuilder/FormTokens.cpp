#include "tools/formbuilder/FormTokens.h"

#include <charconv>

#include "platform/codepage/CodePage.h"

namespace vellumry::formbuilder {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::size_t ReadQuoted(std::string_view line, std::size_t pos, std::string& text)
{
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"')
            return i + 1;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == line.size())
            break;
        switch (line[i]) {
        case '"': text += '"'; break;
        case '\\': text += '\\'; break;
        case 'r': text += '\r'; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        default: throw FormBuildError(std::string("unknown escape \\") + line[i]);
        }
    }
    throw FormBuildError("missing closing quote");
}

}  // namespace

std::vector<Token> SplitLine(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos == line.size())
            return tokens;
        Token token;
        if (line[pos] == '"') {
            token.quoted = true;
            pos = ReadQuoted(line, pos, token.text);
            if (pos < line.size() && !IsBlank(line[pos]))
                throw FormBuildError("a text must be followed by a blank");
        } else {
            std::size_t end = pos;
            while (end < line.size() && !IsBlank(line[end]))
                ++end;
            token.text = line.substr(pos, end - pos);
            pos = end;
        }
        tokens.push_back(std::move(token));
    }
}

std::int64_t ParseNumber(std::string_view text)
{
    bool negative = !text.empty() && text[0] == '-';
    std::string_view digits = negative ? text.substr(1) : text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw FormBuildError("not a number: " + std::string(text));
    if (negative ? value > 0x80000000ull : value > 0xFFFFFFFFull)
        throw FormBuildError("number out of 32-bit range: " + std::string(text));
    return negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
}

std::string ToGbk(std::string_view utf8)
{
    if (!codepage::IsEncodableAsGbk(codepage::Utf8ToUtf16(utf8)))
        throw FormBuildError("text has a character without a GBK form: " + std::string(utf8));
    return codepage::Utf8ToGbk(utf8);
}

std::vector<std::uint8_t> ParseHex(std::string_view digits)
{
    if (digits.size() % 2 != 0)
        throw FormBuildError("hexadecimal bytes need an even number of digits");
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        int high = HexDigit(digits[i]);
        int low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0)
            throw FormBuildError("not hexadecimal: " + std::string(digits));
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

}  // namespace vellumry::formbuilder
