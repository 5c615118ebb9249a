#include "core/calendar/DateUtilities.h"

#include "foundation/CivilDate.h"
#include "foundation/TimeZone.h"
#include "foundation/WallTime.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace DateUtilities {

namespace {

// Day starts and ends are asked for over and over (seven days per week page, on every reload),
// and each ICU field computation costs a few hundred nanoseconds, so every thread remembers the
// bounds of the days it has recently computed. A direct-mapped table keeps the cost bounded.
struct DayBounds {
    static constexpr std::int64_t noKey = std::numeric_limits<std::int64_t>::min();

    std::int64_t key = noKey;
    double begin = 0.0;
    double end = 0.0;
    bool hasEnd = false;
};

constexpr std::size_t dayBoundsCount = 512;

struct ThreadCalendar {
    std::unique_ptr<icu::GregorianCalendar> calendar;
    // The zone object the remembered bounds were computed in.
    const icu::TimeZone* zone = nullptr;
    // The process default zone's generation when the calendar was made.
    std::uint64_t zoneGeneration = 0;
    std::array<DayBounds, dayBoundsCount> bounds{};

    void forgetBounds() { bounds.fill(DayBounds{}); }
};

thread_local ThreadCalendar t_calendar;

ThreadCalendar& threadCalendar() {
    // A long-lived worker thread would otherwise go on computing in the zone that was the default
    // when it first used its calendar.
    const std::uint64_t zoneGeneration = TimeZone::defaultTimeZoneGeneration();
    if (t_calendar.calendar && t_calendar.zoneGeneration != zoneGeneration) {
        reloadCalendar();
    }
    if (!t_calendar.calendar) {
        t_calendar.zoneGeneration = zoneGeneration;
        UErrorCode status = U_ZERO_ERROR;
        // The root locale keeps week rules out of it; only fields and arithmetic are used.
        t_calendar.calendar = std::make_unique<icu::GregorianCalendar>(icu::TimeZone::createDefault(),
                                                                       icu::Locale::getRoot(), status);
        // Proleptic Gregorian throughout, so that fields read from it agree with the wall times
        // Day and WallTime build through CivilDate, also before 1582.
        t_calendar.calendar->setGregorianChange(U_DATE_MIN, status);
        // Where a wall-clock time happens twice, its own arithmetic (adding days) means the first
        // occurrence, as WallTime does.
        t_calendar.calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        t_calendar.zone = &t_calendar.calendar->getTimeZone();
        t_calendar.forgetBounds();
    }
    return t_calendar;
}

struct Fields {
    int year;
    int month;
    int day;
    int weekday;
};

Fields fieldsOf(Date date) {
    icu::GregorianCalendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(date.udate(), status);
    return Fields{cal.get(UCAL_EXTENDED_YEAR, status), cal.get(UCAL_MONTH, status) + 1,
                  cal.get(UCAL_DATE, status), cal.get(UCAL_DAY_OF_WEEK, status)};
}

// Where midnight falls into a daylight-saving gap, WallTime moves it to the first moment after the
// gap; where it happens twice, it takes the first, so that a day begins at its earliest moment.
double computeTime(const icu::GregorianCalendar& cal, int year, int month, int day, int hour, int minute,
                   int second) {
    return WallTime{CivilDate{year, month, day}, hour, minute, second}.dateIn(cal.getTimeZone()).udate();
}

DayBounds& boundsOf(int year, int month, int day, bool needEnd);

// The last second before the next day begins: 23:59:59 on ordinary days, and still the day's true
// end where a daylight-saving change skips or repeats that wall-clock time. The next day's start is
// remembered too, so it is shared.
double computeEnd(int year, int month, int day) {
    const CivilDate next = CivilDate::civilFromDays(CivilDate::daysFromCivil(year, month, day) + 1);
    return boundsOf(next.year, next.month, next.day, false).begin - 1000.0;
}

DayBounds& boundsOf(int year, int month, int day, bool needEnd) {
    thread_local DayBounds uncached;
    ThreadCalendar& state = threadCalendar();
    icu::GregorianCalendar& cal = *state.calendar;
    if (state.zone != &cal.getTimeZone()) {
        state.forgetBounds();
        state.zone = &cal.getTimeZone();
    }

    DayBounds* entry = &uncached;
    std::int64_t key = DayBounds::noKey;
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31) {
        key = static_cast<std::int64_t>(year) * 512 + month * 32 + day;
        const auto linear =
            static_cast<std::uint64_t>(static_cast<std::int64_t>(year) * 372 + month * 31 + day);
        entry = &state.bounds[linear % dayBoundsCount];
    }
    if (entry->key != key || key == DayBounds::noKey) {
        entry->key = key;
        entry->begin = computeTime(cal, year, month, day, 0, 0, 0);
        entry->hasEnd = false;
    }
    if (needEnd && !entry->hasEnd) {
        // The next day's slot is never this one (consecutive days take consecutive slots), so
        // filling it leaves this entry in place.
        const double end = computeEnd(year, month, day);
        entry->end = end;
        entry->hasEnd = true;
    }
    return *entry;
}

int julianDay(Date date) {
    icu::GregorianCalendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(date.udate(), status);
    return cal.get(UCAL_JULIAN_DAY, status);
}

} // namespace

icu::GregorianCalendar& calendar() {
    return *threadCalendar().calendar;
}

void reloadCalendar() {
    t_calendar.calendar.reset();
    t_calendar.zone = nullptr;
    t_calendar.forgetBounds();
}

Date dateWithYear(int year, int month, int day) {
    return Date::withUDate(boundsOf(year, month, day, false).begin);
}

Date lastSecondOfDay(int year, int month, int day) {
    return Date::withUDate(boundsOf(year, month, day, true).end);
}

bool isEqualToDateIgnoreTime(Date date, Date otherDate) {
    return day(date) == day(otherDate);
}

Date endOfDay(Date date) {
    // A day start may lie after midnight (when midnight falls into a daylight-saving gap); adding
    // a day to it would keep that wall-clock time and overshoot the day's end.
    const Fields fields = fieldsOf(date);
    if (dateWithYear(fields.year, fields.month, fields.day) == date) {
        return lastSecondOfDay(fields.year, fields.month, fields.day);
    }
    icu::GregorianCalendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(date.udate(), status);
    cal.add(UCAL_DATE, 1, status);
    cal.add(UCAL_SECOND, -1, status);
    return Date::withUDate(cal.getTime(status));
}

Date addDays(Date date, int n) {
    icu::GregorianCalendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(date.udate(), status);
    // Adding to the day field keeps the wall-clock time across daylight-saving changes.
    cal.add(UCAL_DATE, n, status);
    return Date::withUDate(cal.getTime(status));
}

Date addWeeks(Date date, int n) {
    return addDays(date, 7 * n);
}

// Hours are absolute: ICU adds them as a fixed number of milliseconds, whatever the zone does.
Date addHours(Date date, int n) {
    return date.addingTimeInterval(3600.0 * n);
}

Week week(Date date) {
    const Fields fields = fieldsOf(date);
    const Day first =
        Day(fields.year, fields.month, fields.day).addDays(-daysBackToFirstDayOfWeek(fields.weekday));
    return Week(first.beginDateTime());
}

Date thisOrLastMonday(Date date) {
    const Fields fields = fieldsOf(date);
    return Day(fields.year, fields.month, fields.day)
        .addDays(-daysBackToLastMonday(fields.weekday))
        .beginDateTime();
}

int daysTo(Date date, Date otherDate) {
    return julianDay(otherDate) - julianDay(date);
}

bool isLastDayOfWeek(Date date) {
    return weekday(date) == Week::lastWeekdayOfWeek();
}

int weekday(Date date) {
    return fieldsOf(date).weekday;
}

int year(Date date) {
    return fieldsOf(date).year;
}

Date januaryFirstOfSameYear(Date date) {
    return dateWithYear(year(date), 1, 1);
}

Date applyDateWithoutTime(Date time, Date day) {
    icu::GregorianCalendar& cal = calendar();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(time.udate(), status);
    const int hour = cal.get(UCAL_HOUR_OF_DAY, status);
    const int minute = cal.get(UCAL_MINUTE, status);
    const Fields fields = fieldsOf(day);
    return Date::withUDate(computeTime(cal, fields.year, fields.month, fields.day, hour, minute, 0));
}

Day day(Date date) {
    const Fields fields = fieldsOf(date);
    return Day(fields.year, fields.month, fields.day);
}

bool isLaterThanOrEqual(Date date, Date otherDate) {
    return date >= otherDate;
}

bool isEarlierThanOrEqual(Date date, Date otherDate) {
    return date <= otherDate;
}

int daysBackToFirstDayOfWeek(int weekday) {
    return Week::indexInWeekOfWeekday(weekday);
}

int daysBackToLastMonday(int weekday) {
    return weekday == 1 ? 6 : weekday - 2;
}

} // namespace DateUtilities
