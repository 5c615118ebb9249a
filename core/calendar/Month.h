#pragma once

#include "foundation/Color.h"

#include <QString>

#include <compare>
#include <functional>

class Day;
class Quarter;
class TwoMonths;
class Year;

// A month of a year (month numbers 1..12).
class Month {
public:
    constexpr Month(int yearNumber, int monthNumber) : m_yearNumber(yearNumber), m_monthNumber(monthNumber) {}

    constexpr int yearNumber() const { return m_yearNumber; }
    constexpr int monthNumber() const { return m_monthNumber; }

    Month nextMonth() const;
    Month previousMonth() const;
    int monthsTo(const Month& other) const;
    bool isLaterThan(const Month& other) const { return *this > other; }
    bool isEarlierThan(const Month& other) const { return *this < other; }

    Day firstDay() const;
    Day lastDay() const;
    int numberOfDays() const;

    Year year() const;
    Quarter quarter() const;
    // The pair that starts with this month if it is odd, otherwise with the month before.
    TwoMonths twoMonths() const;

    // The user's locale's full month name.
    QString name() const;

    // The month's colour by season: the hues run six months apart in the two hemispheres. The
    // region is looked at on the first request and again after refreshSeasonAwareColors().
    Color seasonAwareColor() const;
    static void refreshSeasonAwareColors();

    // "%04d-%02d".
    QString description() const;

    constexpr auto operator<=>(const Month&) const = default;

private:
    int m_yearNumber;
    int m_monthNumber;
};

template <> struct std::hash<Month> {
    std::size_t operator()(const Month& month) const noexcept {
        return std::hash<int>()(month.yearNumber() + 7 * month.monthNumber());
    }
};
