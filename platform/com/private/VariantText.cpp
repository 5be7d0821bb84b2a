#include "platform/com/private/VariantText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/base/OleDate.h"

namespace vellumry::com {
namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v' || c == u'\u3000';
}

std::u16string_view Trim(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

std::u16string Widen(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// Reads an unsigned decimal field; false when there is none or it is too long.
bool ReadField(std::u16string_view text, std::size_t& at, int& value)
{
    std::size_t start = at;
    value = 0;
    while (at < text.size() && IsDigit(text[at]) && at - start < 5)
        value = value * 10 + (text[at++] - u'0');
    return at > start && (at >= text.size() || !IsDigit(text[at]));
}

// h:mm or h:mm:ss from `at` to the end.
bool ReadTime(std::u16string_view text, std::size_t at, base::CalendarTime& time)
{
    if (!ReadField(text, at, time.hour) || at >= text.size() || text[at++] != u':' ||
        !ReadField(text, at, time.minute))
        return false;
    if (at < text.size()) {
        if (text[at++] != u':' || !ReadField(text, at, time.second))
            return false;
    }
    return at == text.size();
}

}  // namespace

std::optional<TextNumber> ParseNumberText(std::u16string_view text)
{
    text = Trim(text);
    std::string ascii;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ascii += static_cast<char>(text[at++]);
    bool digits = false;
    while (at < text.size() && (IsDigit(text[at]) || (text[at] == u',' && digits))) {
        if (text[at] != u',') {
            ascii += static_cast<char>(text[at]);
            digits = true;
        }
        ++at;
    }
    bool whole = true;
    if (at < text.size() && text[at] == u'.') {
        ascii += '.';
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            ascii += static_cast<char>(text[at++]);
            digits = true;
            whole = false;
        }
    }
    if (!digits)
        return std::nullopt;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E' || text[at] == u'd' || text[at] == u'D')) {
        ascii += 'e';
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ascii += static_cast<char>(text[at++]);
        if (at >= text.size() || !IsDigit(text[at]))
            return std::nullopt;
        while (at < text.size() && IsDigit(text[at]))
            ascii += static_cast<char>(text[at++]);
        whole = false;
    }
    if (at != text.size())
        return std::nullopt;
    TextNumber number;
    number.value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(number.value))
        return std::nullopt;
    if (whole) {
        errno = 0;
        char* end = nullptr;
        long long integer = std::strtoll(ascii.c_str(), &end, 10);
        if (errno == 0 && (*end == '\0' || *end == '.')) {
            number.exact = true;
            number.integer = integer;
        }
    }
    return number;
}

std::u16string FormatNumberText(double value, int digits)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? u"0" : std::isnan(value) ? u"NaN" : value > 0 ? u"Infinity" : u"-Infinity";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return Widen(buffer);
}

std::u16string FormatIntegerText(std::int64_t value)
{
    return Widen(std::to_string(value));
}

std::u16string FormatUnsignedText(std::uint64_t value)
{
    return Widen(std::to_string(value));
}

std::optional<bool> ParseBoolText(std::u16string_view text)
{
    text = Trim(text);
    auto equals = [&](std::u16string_view word) {
        if (text.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            char16_t c = text[i];
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c - u'A' + u'a');
            if (c != word[i])
                return false;
        }
        return true;
    };
    if (equals(u"true"))
        return true;
    if (equals(u"false"))
        return false;
    return std::nullopt;
}

std::optional<double> ParseDateText(std::u16string_view text)
{
    text = Trim(text);
    base::CalendarTime time;
    std::size_t at = 0;
    int first = 0;
    if (!ReadField(text, at, first))
        return std::nullopt;
    if (at < text.size() && text[at] == u':') {
        // A time alone lies on day 0.
        time.year = 1899;
        time.month = 12;
        time.day = 30;
        if (!ReadTime(text, 0, time))
            return std::nullopt;
        return base::ToOleDate(time);
    }
    char16_t separator = at < text.size() ? text[at] : u'\0';
    if (separator != u'/' && separator != u'-')
        return std::nullopt;
    time.year = first;
    ++at;
    if (!ReadField(text, at, time.month) || at >= text.size() || text[at++] != separator ||
        !ReadField(text, at, time.day))
        return std::nullopt;
    if (at < text.size()) {
        std::size_t timeStart = at;
        while (timeStart < text.size() && IsBlank(text[timeStart]))
            ++timeStart;
        if (timeStart == at || !ReadTime(text, timeStart, time))
            return std::nullopt;
    }
    return base::ToOleDate(time);
}

std::optional<std::u16string> FormatDateText(double date)
{
    std::optional<base::CalendarTime> time = base::FromOleDate(date);
    if (!time)
        return std::nullopt;
    char buffer[64];
    std::string out;
    bool dayZero = std::fabs(date) < 1.0;
    bool midnight = time->hour == 0 && time->minute == 0 && time->second == 0;
    if (!dayZero || midnight) {
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d", time->year, time->month, time->day);
        out = buffer;
    }
    if (!midnight) {
        std::snprintf(buffer, sizeof buffer, "%s%d:%02d:%02d", out.empty() ? "" : " ", time->hour, time->minute,
                      time->second);
        out += buffer;
    }
    return Widen(out);
}

}  // namespace vellumry::com
