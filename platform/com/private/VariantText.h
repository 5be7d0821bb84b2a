#pragma once

// How the variant conversions write and read numbers, booleans and dates as
// text. The stand-in knows the one locale of this program (Chinese, PRC:
// decimal point '.', digit grouping ',', dates year/month/day, 24-hour times),
// whatever locale identifier a caller passes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellumry::com {

// A number read from text: exact when it is a whole number that fits 64
// bits, otherwise only as a double.
struct TextNumber {
    double value = 0;
    bool exact = false;
    std::int64_t integer = 0;
};

// Blanks around, an optional sign, digits with optional ',' grouping before
// the point, an optional fraction and an optional exponent (E or D). No value
// for anything else, or for a number beyond the double range.
std::optional<TextNumber> ParseNumberText(std::u16string_view text);

// The shortest decimal form with at most `digits` significant digits, with
// an exponent (E+NN, E-NN) where the decimal exponent is below -4 or at least
// `digits`.
std::u16string FormatNumberText(double value, int digits);

std::u16string FormatIntegerText(std::int64_t value);
std::u16string FormatUnsignedText(std::uint64_t value);

// "True" / "False" in any letter case, blanks around allowed.
std::optional<bool> ParseBoolText(std::u16string_view text);

// A date "y/m/d" or "y-m-d" with an optional time "h:mm" or "h:mm:ss", or a
// time alone. No value for anything else or a field out of range.
std::optional<double> ParseDateText(std::u16string_view text);

// "yyyy/M/d H:mm:ss"; the time is left out at midnight and the date on day 0
// (30 December 1899). No value for a date outside years 100 to 9999.
std::optional<std::u16string> FormatDateText(double date);

}  // namespace vellumry::com
