#include "core/eventstore/ZoneCalendars.h"

#include "foundation/StringUtilities.h"
#include "foundation/WallTime.h"

#include <unicode/timezone.h>

#include <cmath>

icu::GregorianCalendar& ZoneCalendars::calendar(const QString& zoneName) {
    auto found = m_calendars.find(zoneName);
    if (found != m_calendars.end()) {
        return *found->second;
    }
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(
        icu::TimeZone::createTimeZone(StringUtilities::toUnicodeString(zoneName)), status);
    // Proleptic Gregorian, as WallTime reads the fields back into dates.
    calendar->setGregorianChange(U_DATE_MIN, status);
    // Adding days lands on a wall time as WallTime reads one (RFC 5545 3.3.5): a repeated local
    // time means its first occurrence; a skipped one is read with the offset before the change,
    // which is ICU's default.
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    return *m_calendars.emplace(zoneName, std::move(calendar)).first->second;
}

Date ZoneCalendars::date(const QString& zoneName, const DateTimeValue& value) {
    const WallTime wall{CivilDate{value.year, value.month, value.day}, value.hour, value.minute,
                        value.second};
    return wall.dateIn(calendar(zoneName).getTimeZone());
}

DateTimeValue ZoneCalendars::fields(const QString& zoneName, Date date) {
    icu::GregorianCalendar& gregorian = calendar(zoneName);
    UErrorCode status = U_ZERO_ERROR;
    gregorian.setTime(std::floor(date.timeIntervalSince1970()) * 1000.0, status);
    DateTimeValue value;
    value.year = gregorian.get(UCAL_EXTENDED_YEAR, status);
    value.month = gregorian.get(UCAL_MONTH, status) + 1;
    value.day = gregorian.get(UCAL_DATE, status);
    value.hour = gregorian.get(UCAL_HOUR_OF_DAY, status);
    value.minute = gregorian.get(UCAL_MINUTE, status);
    value.second = gregorian.get(UCAL_SECOND, status);
    return value;
}

Date ZoneCalendars::addDays(const QString& zoneName, Date date, int days) {
    icu::GregorianCalendar& gregorian = calendar(zoneName);
    UErrorCode status = U_ZERO_ERROR;
    gregorian.setTime(date.udate(), status);
    gregorian.add(UCAL_DATE, days, status);
    return Date::withUDate(gregorian.getTime(status));
}
