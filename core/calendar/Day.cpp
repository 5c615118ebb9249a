#include "core/calendar/Day.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/LocaleSymbols.h"
#include "core/calendar/Month.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/Week.h"
#include "core/calendar/Year.h"
#include "foundation/CivilDate.h"
#include "foundation/WallTime.h"

#include <cmath>

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

Date Day::noon() const {
    return WallTime{CivilDate{m_yearNumber, m_monthNumber, m_dayNumber}, 12, 0, 0}.dateIn(
        DateUtilities::calendar().getTimeZone());
}

int Day::weekday() const {
    return CivilDate::weekdayOfDays(daysSince1970()) + 1;
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
    return static_cast<int>(daysSince1970() - CivilDate::daysFromCivil(m_yearNumber, 1, 1));
}

std::int64_t Day::daysSince1970() const {
    return CivilDate::daysFromCivil(m_yearNumber, m_monthNumber, m_dayNumber);
}

Day Day::fromDaysSince1970(std::int64_t days) {
    const CivilDate civil = CivilDate::civilFromDays(days);
    return Day(civil.year, civil.month, civil.day);
}

QString Day::description() const {
    return QString::asprintf("%04d-%02d-%02d", m_yearNumber, m_monthNumber, m_dayNumber);
}
