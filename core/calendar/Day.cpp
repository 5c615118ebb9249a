#include "core/calendar/Day.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/LocaleSymbols.h"
#include "core/calendar/Month.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/Week.h"
#include "core/calendar/Year.h"

#include <cmath>

namespace {

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// Howard Hinnant's days_from_civil and civil_from_days (public domain), proleptic Gregorian.
// Month numbers out of 1..12 roll into neighbouring years and day numbers past the month's end
// into the next month, as in a lenient calendar.
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year += floorDivide(month - 1, 12);
    month = month - 1 - floorDivide(month - 1, 12) * 12 + 1;
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = floorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

Day Day::today() {
    return DateUtilities::day(Date::now());
}

Day Day::nextDay() const {
    return addDays(1);
}

Day Day::addDays(int n) const {
    return fromDaysSince1970(daysSince1970() + n);
}

int Day::daysTo(const Day& other) const {
    const double seconds = other.beginDateTime().timeIntervalSinceDate(beginDateTime());
    return static_cast<int>(std::round(seconds / 86400.0));
}

Date Day::beginDateTime() const {
    return DateUtilities::dateWithYear(m_yearNumber, m_monthNumber, m_dayNumber);
}

Date Day::endDateTime() const {
    return DateUtilities::lastSecondOfDay(m_yearNumber, m_monthNumber, m_dayNumber);
}

int Day::weekday() const {
    // 1970-01-01 was a Thursday (5).
    const std::int64_t days = daysSince1970() + 4;
    return static_cast<int>(days - floorDivide(days, 7) * 7) + 1;
}

QString Day::weekdayAbbreviation() const {
    return LocaleSymbols::shortWeekdaySymbol(weekday());
}

Week Day::week() const {
    const Day first = addDays(-Week::daysFromWeekday(Week::firstWeekdayOfWeek(), weekday()));
    return Week(first.beginDateTime());
}

Month Day::month() const {
    return Month(m_yearNumber, m_monthNumber);
}

Year Day::year() const {
    return Year(m_yearNumber);
}

Quarter Day::quarter() const {
    return Quarter(m_yearNumber, (m_monthNumber - 1) / 3 + 1);
}

int Day::indexInYear() const {
    return static_cast<int>(daysSince1970() - daysFromCivil(m_yearNumber, 1, 1));
}

std::int64_t Day::daysSince1970() const {
    return daysFromCivil(m_yearNumber, m_monthNumber, m_dayNumber);
}

Day Day::fromDaysSince1970(std::int64_t days) {
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = floorDivide(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return Day(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

QString Day::description() const {
    return QString::asprintf("%04d-%02d-%02d", m_yearNumber, m_monthNumber, m_dayNumber);
}
