#include "units/editbox/EditBoxInput.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <vector>

#include "platform/base/OleDate.h"
#include "platform/codepage/CodePage.h"
#include "runtime/DataTypeTag.h"
#include "runtime/HeapOwner.h"
#include "runtime/TypedValue.h"
#include "runtime/commands/ValueConversion.h"

namespace vellumry::units {
namespace {

enum InputMode : std::int32_t {
    kIntegerText = 3, kRealText = 4, kByte = 5, kShort = 6, kInteger = 7, kLong = 8, kFloat = 9, kDouble = 10,
    kDateTime = 11,
};

bool IsDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

std::string_view TrimmedLeft(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    return text;
}

// An optional sign and the decimal digits up to the first other character;
// no digits give 0 and a number past the 64-bit range stops at its end.
std::int64_t LongFromText(std::string_view text)
{
    text = TrimmedLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        int digit = c - '0';
        if (value > (kLimit - digit) / 10)
            return negative ? std::numeric_limits<std::int64_t>::min() : kLimit;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// The longest leading decimal number (sign, digits, point, exponent);
// 0 for none.
double RealFromText(std::string_view text)
{
    text = TrimmedLeft(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range)
        return 0;
    return error == std::errc() ? value : 0;
}

std::string RuntimeText(const runtime::TypedValue& value)
{
    runtime::OwnedText text(runtime::commands::TextOf(value));
    return text ? std::string(text.get()) : std::string();
}

std::string Decimal(std::int64_t value)
{
    return std::to_string(value);
}

// Dates as the runtime writes them ("2024年3月5日10时7分") or as
// "y/m/d h:mm:ss" and "y-m-d": up to six numbers between separators.
std::optional<double> DateFromText(std::string_view gbk)
{
    std::string text = codepage::GbkToUtf8(gbk);
    static constexpr std::string_view kSeparators[] = {"/", "-", ":", " ", "年", "月", "日", "时", "分", "秒"};
    std::vector<int> fields;
    std::string_view rest = text;
    while (!rest.empty()) {
        if (IsDigit(static_cast<unsigned char>(rest.front()))) {
            int value = 0;
            std::size_t digits = 0;
            while (digits < rest.size() && IsDigit(static_cast<unsigned char>(rest[digits]))) {
                if (++digits > 5)
                    return std::nullopt;
                value = value * 10 + (rest[digits - 1] - '0');
            }
            fields.push_back(value);
            rest.remove_prefix(digits);
            continue;
        }
        auto separator = std::find_if(std::begin(kSeparators), std::end(kSeparators),
                                      [&](std::string_view s) { return rest.starts_with(s); });
        if (separator == std::end(kSeparators))
            return std::nullopt;
        rest.remove_prefix(separator->size());
    }
    if (fields.size() < 3 || fields.size() > 6)
        return std::nullopt;
    fields.resize(6, 0);
    return base::ToOleDate({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
}

}  // namespace

bool AcceptsTypedCharacter(std::int32_t mode, char32_t character)
{
    if (character < 32)
        return true;
    switch (mode) {
    case kIntegerText:
    case kShort:
    case kInteger:
    case kLong:
        return character == U'-' || IsDigit(character);
    case kRealText:
    case kFloat:
    case kDouble:
        return character == U'-' || character == U'.' || IsDigit(character);
    case kByte:
        return IsDigit(character);
    default:
        return true;
    }
}

std::optional<std::string> NormalisedText(std::int32_t mode, std::string_view text)
{
    std::string result;
    switch (mode) {
    case kByte: result = Decimal(std::clamp<std::int64_t>(LongFromText(text), 0, 255)); break;
    case kShort: result = Decimal(std::clamp<std::int64_t>(LongFromText(text), -32768, 32767)); break;
    case kInteger:
        result = Decimal(std::clamp<std::int64_t>(LongFromText(text), std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max()));
        break;
    case kLong: result = Decimal(LongFromText(text)); break;
    case kFloat:
        result = RuntimeText(runtime::TypedValue::OfFloat(static_cast<float>(RealFromText(text))));
        break;
    case kDouble: result = RuntimeText(runtime::TypedValue::OfDouble(RealFromText(text))); break;
    case kDateTime: {
        std::optional<double> date = DateFromText(text);
        if (!date || *date == 0)
            return std::string();
        return RuntimeText(runtime::TypedValue::OfDouble(*date, runtime::kDateTimeType));
    }
    default:
        return std::nullopt;
    }
    if (result == "0")
        result.clear();
    return result;
}

std::int32_t SpinStep(std::string_view text, std::int32_t step, std::int32_t lowest, std::int32_t highest)
{
    std::int64_t value = LongFromText(text) + (step < 0 ? -1 : 1);
    if (value > highest)
        return step < 0 ? highest : lowest;
    if (value < lowest)
        return step < 0 ? highest : lowest;
    return static_cast<std::int32_t>(value);
}

}  // namespace vellumry::units
