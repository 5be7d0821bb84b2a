#include "runtime/commands/OleDate.h"

#include <cmath>
#include <cstdint>

namespace vellumry::runtime::commands {
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

}  // namespace

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

}  // namespace vellumry::runtime::commands
