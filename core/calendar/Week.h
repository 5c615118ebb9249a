#pragma once

#include "foundation/Date.h"

#include <QString>

#include <functional>

class Day;

// A week of seven consecutive days, identified by 00:00 of its first day. Which weekday weeks
// begin on and how they are numbered is class state: it is written on the main thread and may be
// read on any thread.
class Week {
public:
    // `date` is stored unchanged; it should be the start of a day on the first weekday.
    explicit Week(Date date) : m_date(date) {}

    // The week containing the present moment.
    static Week currentWeek();

    Date date() const { return m_date; }

    Day firstDay() const;
    Day lastDay() const;
    Day middleOfTheWeekDay() const;

    Week nextWeek() const;
    Week previousWeek() const;
    Week addWeeks(int n) const;
    // Days from this week's first day to the other's, divided by 7. Both weeks must begin on the
    // same weekday.
    int weeksTo(const Week& other) const;
    bool isLaterThan(const Week& other) const { return m_date > other.m_date; }
    bool isEarlierThan(const Week& other) const { return m_date < other.m_date; }

    // The week's number for the week title: the number of the week's middle day, and under the
    // USA method "a/1" where the Sunday-to-Saturday week holding that day crosses into a new year.
    QString weekNumber() const;

    // The first day as "%04d-%02d-%02d".
    QString description() const;

    // Weeks are equal when their dates fall on the same calendar day; ordered by that day.
    bool operator==(const Week& other) const;
    bool operator<(const Week& other) const;

    // 1 (Sunday) to 7 (Saturday); values outside are ignored.
    static void setFirstWeekdayOfWeek(int weekday);
    static int firstWeekdayOfWeek();
    // The day before the first weekday.
    static int lastWeekdayOfWeek();
    // 0 international (ISO 8601), 1 USA.
    static void setWeekNumberMethod(int method);
    static int weekNumberMethod();

    // (b − a) reduced into 0..6: days from weekday a forward to the next weekday b.
    static int daysFromWeekday(int a, int b);
    // The column of the weekday in a week display.
    static int indexInWeekOfWeekday(int weekday);

    static int weekNumberForDay(const Day& day);
    // ISO 8601: weeks from Monday, week 1 holds the year's first Thursday.
    static int isoWeekNumberForDay(const Day& day);
    // Weeks from Sunday; the week containing 1 January is week 1.
    static int usaWeekNumberForDay(const Day& day);

private:
    Date m_date;
};

template <> struct std::hash<Week> {
    // Equality ignores the time of day, so the hash is that of the calendar day.
    std::size_t operator()(const Week& week) const noexcept;
};
