#pragma once

#include "foundation/Date.h"

#include <QString>

#include <compare>
#include <cstdint>
#include <functional>

class Month;
class Quarter;
class Week;
class Year;

// A calendar day as plain year, month and day numbers. The arithmetic on the numbers is
// proleptic Gregorian; the day becomes an absolute time only through beginDateTime(),
// endDateTime() and noon() in the application calendar.
class Day {
public:
    constexpr Day(int yearNumber, int monthNumber, int dayNumber)
        : m_yearNumber(yearNumber), m_monthNumber(monthNumber), m_dayNumber(dayNumber) {}

    // The day of the present moment.
    static Day today();

    constexpr int yearNumber() const { return m_yearNumber; }
    constexpr int monthNumber() const { return m_monthNumber; }
    constexpr int dayNumber() const { return m_dayNumber; }

    Day nextDay() const;
    Day addDays(int n) const;
    // Days between the two days' starts: seconds / 86400 rounded half away from zero, so that
    // 23- and 25-hour days count as one.
    int daysTo(const Day& other) const;
    bool isLaterThan(const Day& other) const { return *this > other; }
    bool isEarlierThan(const Day& other) const { return *this < other; }

    // 00:00:00 and 23:59:59 of the day in the application calendar. Where a daylight-saving
    // change at midnight skips 00:00 the day begins after the gap, and the end is always the
    // second before the next day begins.
    Date beginDateTime() const;
    Date endDateTime() const;
    // 12:00 of the day on the application calendar's wall clock.
    Date noon() const;

    // 1 (Sunday) to 7 (Saturday).
    int weekday() const;
    // The user's locale's short name of the weekday.
    QString weekdayAbbreviation() const;
    Week week() const;
    Month month() const;
    Year year() const;
    Quarter quarter() const;
    // Days since 1 January of the day's year (0 for 1 January).
    int indexInYear() const;

    // Days since 1970-01-01 (negative before), and back.
    std::int64_t daysSince1970() const;
    static Day fromDaysSince1970(std::int64_t days);

    // "%04d-%02d-%02d".
    QString description() const;

    constexpr auto operator<=>(const Day&) const = default;

private:
    std::int32_t m_yearNumber;
    std::int32_t m_monthNumber;
    std::int32_t m_dayNumber;
};

template <> struct std::hash<Day> {
    std::size_t operator()(const Day& day) const noexcept {
        return std::hash<std::int64_t>()(
            (static_cast<std::int64_t>(day.yearNumber()) * 16 + day.monthNumber()) * 32 + day.dayNumber());
    }
};
