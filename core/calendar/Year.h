#pragma once

#include <compare>
#include <vector>

class Year {
public:
    explicit constexpr Year(int yearNumber) : m_yearNumber(yearNumber) {}

    constexpr int yearNumber() const { return m_yearNumber; }

    // The year as the user's regional calendar numbers it (2555 for 2012 in the Thai Buddhist
    // calendar, 24 in the Japanese one): 15 June of the year formatted with "y" in the user's
    // locale and its calendar.
    int regionalYearNumber() const;

    // The day-of-month number of every day of the year in order (365 or 366 entries), to be
    // looked up by Day::indexInYear(). The list is shared by all years of the same length.
    const std::vector<int>& dayNumbers() const;

    constexpr auto operator<=>(const Year&) const = default;

private:
    int m_yearNumber;
};
