#pragma once

#include "core/calendar/Month.h"
#include "core/calendar/Week.h"

#include <QString>

// One week row of a month as the week picker shows it; a week spanning two months is listed in
// each of them.
class WeekInMonth {
public:
    WeekInMonth(const Week& week, const Month& month) : m_week(week), m_month(month) {}

    const Week& week() const { return m_week; }
    const Month& month() const { return m_month; }
    void setWeek(const Week& week) { m_week = week; }
    void setMonth(const Month& month) { m_month = month; }

    // "<week> in <month>".
    QString description() const;

    bool operator==(const WeekInMonth& other) const {
        return m_week == other.m_week && m_month == other.m_month;
    }

private:
    Week m_week;
    Month m_month;
};
