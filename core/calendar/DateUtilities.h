#pragma once

#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "foundation/Date.h"

#include <unicode/gregocal.h>

// The application calendar and the date operations of the whole program on absolute dates. Every
// calendar field of a date (year, month, day, weekday, time of day) is taken in the application
// calendar: ICU's Gregorian calendar in the process default time zone, proleptic (Gregorian also
// before 15 October 1582, as Day, Month and Year count through CivilDate). Plain day arithmetic
// without a zone is CivilDate's; wall times become dates through WallTime.
namespace DateUtilities {

// The calling thread's application calendar, created at the thread's first use with the process
// default time zone of that moment, and made again at the next use after reloadCalendar() or after
// the process default zone changed (so worker threads follow a zone change too). Callers may set
// its time and fields, but must not change its zone or rules.
icu::GregorianCalendar& calendar();
// Drops the calling thread's calendar (and what was computed with it); other threads keep theirs.
void reloadCalendar();

// 00:00:00 of that day. Month and day numbers out of range roll over into the next or previous
// month. Where midnight does not exist (a daylight-saving change at 00:00), the day begins at the
// first moment after the gap.
Date dateWithYear(int year, int month, int day);
// The last second of that day: 23:59:59, or the second before the next day begins where a
// daylight-saving change skips or repeats 23:59:59.
Date lastSecondOfDay(int year, int month, int day);

bool isEqualToDateIgnoreTime(Date date, Date otherDate);
// The date plus one calendar day minus one second; for the start of a day, the last second of
// that day.
Date endOfDay(Date date);
// The date plus n calendar days, keeping the wall-clock time across daylight-saving changes.
Date addDays(Date date, int n);
Date addWeeks(Date date, int n);
Date addHours(Date date, int n);
// The week containing the date, under the current first weekday of Week.
Week week(Date date);
// 00:00 of the Monday on or before the date's day.
Date thisOrLastMonday(Date date);
// Calendar days from the start of the date's day to the start of the other date's day.
int daysTo(Date date, Date otherDate);
bool isLastDayOfWeek(Date date);
// 1 (Sunday) to 7 (Saturday).
int weekday(Date date);
int year(Date date);
Date januaryFirstOfSameYear(Date date);
// A date on `day`'s calendar day at `time`'s hour and minute, seconds zero.
Date applyDateWithoutTime(Date time, Date day);
Day day(Date date);
bool isLaterThanOrEqual(Date date, Date otherDate);
bool isEarlierThanOrEqual(Date date, Date otherDate);

// (weekday − Week::firstWeekdayOfWeek()) reduced into 0..6.
int daysBackToFirstDayOfWeek(int weekday);
// Days back from the weekday to the Monday on or before it: 6 for Sunday, otherwise weekday − 2.
int daysBackToLastMonday(int weekday);

} // namespace DateUtilities
