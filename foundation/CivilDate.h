#pragma once

#include <cstdint>

// Pure proleptic Gregorian arithmetic on plain numbers, without time zones, clocks or ICU: leap
// years, month lengths, validation, weekdays, and the count of days since 1970-01-01 (negative
// before). Day and WallClock build dates and times in a zone on top of it.
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    // Divisible by 4 and not by 100, or divisible by 400.
    static bool isLeapYear(int year);
    static int daysInYear(int year);
    // The length of a month 1..12.
    static int daysInMonth(int year, int month);
    // True when the month is 1..12 and the day lies within it.
    static bool isValid(int year, int month, int day);

    // Days since 1970-01-01. Month numbers outside 1..12 roll into neighbouring years and day
    // numbers outside the month into neighbouring months, as in a lenient calendar.
    static std::int64_t daysFromCivil(int year, int month, int day);
    static CivilDate civilFromDays(std::int64_t days);
    // 0 = Sunday … 6 = Saturday.
    static int weekdayOfDays(std::int64_t days);

    // Division rounding towards negative infinity, as day and month counts before an epoch need.
    static std::int64_t floorDiv(std::int64_t value, std::int64_t divisor);

    constexpr bool operator==(const CivilDate&) const = default;
};
