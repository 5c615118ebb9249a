#pragma once

#include "foundation/CivilDate.h"
#include "foundation/Date.h"

#include <QString>
#include <QStringList>

#include <unicode/gregocal.h>

#include <cstdint>
#include <memory>

// The date picker's calendar in one zone: the day and the time of day of a date, the date at a
// time of day on a day, and the titles of the days on its day wheel. Days are proleptic
// Gregorian, as CivilDate counts them.
class DatePickerDays {
public:
    struct TimeOfDay {
        int hour = 0;
        int minute = 0;
        int second = 0;

        bool operator==(const TimeOfDay&) const = default;
    };

    explicit DatePickerDays(const QString& zoneName);
    ~DatePickerDays();

    CivilDate day(Date date) const;
    TimeOfDay timeOfDay(Date date) const;
    // The day at the time of day. A time inside a daylight-saving gap moves on by the gap, and a
    // time shown twice means the first of the two.
    Date dateOnDay(CivilDate day, TimeOfDay time) const;
    // The date's own day at the time of day.
    Date dateAtTimeOfDay(Date date, TimeOfDay time) const { return dateOnDay(day(date), time); }

    // The titles of `count` days from `first` (days since 1970-01-01) in the locale: its short
    // weekday, abbreviated month and day of the month ("Wed, Dec 9" in en_US), and "Today" for
    // the day it is now in this zone.
    QStringList titlesOfDays(std::int64_t first, int count, const QString& localeIdentifier) const;

private:
    // Null when ICU cannot make a calendar; every answer then falls back on plain values.
    std::unique_ptr<icu::GregorianCalendar> m_calendar;
};
