#pragma once

// Calendar fields of an OLE automation date: days since 30 December 1899,
// the fraction being the time of day. For dates before that day the whole
// part counts the days back and the fraction, taken without its sign, is
// still the time of day. The time is rounded to the nearest second.

#include <optional>

namespace vellumry::runtime::commands {

struct CalendarTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// No value for NaN, infinities and dates outside the OLE range (years 100 to
// 9999).
std::optional<CalendarTime> FromOleDate(double date);

}  // namespace vellumry::runtime::commands
