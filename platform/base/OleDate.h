#pragma once

// Calendar fields of an OLE automation date: days since 30 December 1899,
// the fraction being the time of day. For dates before that day the whole
// part counts the days back and the fraction, taken without its sign, is
// still the time of day. The time is rounded to the nearest second.

#include <optional>

namespace vellumry::base {

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

// The OLE date of a calendar date and time of day; no value for a field out
// of its range (month 1 to 12, a day the month has, hours below 24, minutes
// and seconds below 60) or a year outside 100 to 9999.
std::optional<double> ToOleDate(const CalendarTime& time);

}  // namespace vellumry::base
