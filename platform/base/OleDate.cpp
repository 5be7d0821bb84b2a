#include "platform/base/OleDate.h"

#include <cmath>
#include <cstdint>

namespace vellumry::base {
namespace {

// 1 January 100 and the day after 31 December 9999, as OLE dates.
constexpr double kFirstDate = -657434.0;
constexpr double kEndDate = 2958466.0;
// 30 December 1899 counted from 1 March of year 0 of the proleptic Gregorian
// calendar, the origin that makes leap days fall at the end of a year.
constexpr std::int64_t kOleEpochFromMarchZero = 693899;
constexpr std::int64_t kDaysPer400Years = 146097;
constexpr int kSecondsPerDay = 86400;

void SetCalendarDay(std::int64_t oleDay, CalendarTime& time)
{
    std::int64_t days = oleDay + kOleEpochFromMarchZero;
    std::int64_t era = (days >= 0 ? days : days - (kDaysPer400Years - 1)) / kDaysPer400Years;
    std::int64_t dayOfEra = days - era * kDaysPer400Years;
    std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from the OLE origin to a calendar date, the inverse of
// SetCalendarDay.
std::int64_t OleDayOf(int year, int month, int day)
{
    std::int64_t y = month <= 2 ? year - 1 : year;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
    std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - kOleEpochFromMarchZero;
}

}  // namespace

std::optional<double> ToOleDate(const CalendarTime& time)
{
    if (time.year < 100 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > DaysInMonth(time.year, time.month) || time.hour < 0 || time.hour > 23 || time.minute < 0 ||
        time.minute > 59 || time.second < 0 || time.second > 59)
        return std::nullopt;
    double day = static_cast<double>(OleDayOf(time.year, time.month, time.day));
    double fraction = (time.hour * 3600 + time.minute * 60 + time.second) / static_cast<double>(kSecondsPerDay);
    // Before the origin the fraction still counts forward through the day.
    return day < 0 ? day - fraction : day + fraction;
}

std::optional<CalendarTime> FromOleDate(double date)
{
    if (!std::isfinite(date) || date <= kFirstDate - 1.0 || date >= kEndDate)
        return std::nullopt;
    double whole = std::trunc(date);
    auto day = static_cast<std::int64_t>(whole);
    auto seconds = static_cast<int>(std::lround(std::fabs(date - whole) * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++day;
    }
    CalendarTime time;
    SetCalendarDay(day, time);
    time.hour = seconds / 3600;
    time.minute = seconds / 60 % 60;
    time.second = seconds % 60;
    return time;
}

}  // namespace vellumry::base
