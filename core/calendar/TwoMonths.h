#pragma once

#include "core/calendar/MonthsPeriod.h"

#include <functional>

// A pair of months beginning with an odd month (1, 3, 5, 7, 9 or 11).
class TwoMonths final : public MonthsPeriod {
public:
    TwoMonths(int yearNumber, int firstMonthNumber)
        : m_yearNumber(yearNumber), m_firstMonthNumber(firstMonthNumber) {}
    TwoMonths(const TwoMonths&) = default;
    TwoMonths& operator=(const TwoMonths&) = default;

    int yearNumber() const { return m_yearNumber; }
    int firstMonthNumber() const { return m_firstMonthNumber; }

    TwoMonths addTwoMonths(int n) const;
    int twoMonthsTo(const TwoMonths& other) const;

    std::unique_ptr<MonthsPeriod> addMonthsPeriod(int n) const override;
    int monthsPeriodsTo(const MonthsPeriod& other) const override;
    Month firstMonth() const override;
    Month lastMonth() const override;
    int numberOfMonths() const override { return 2; }
    std::vector<Month> months() const override;
    std::unique_ptr<MonthsPeriod> clone() const override;
    bool isEqual(const MonthsPeriod& other) const override;
    // The two months' texts joined by "+".
    QString description() const override;

    bool operator==(const TwoMonths& other) const {
        return m_yearNumber == other.m_yearNumber && m_firstMonthNumber == other.m_firstMonthNumber;
    }
    bool operator<(const TwoMonths& other) const {
        return m_yearNumber != other.m_yearNumber ? m_yearNumber < other.m_yearNumber
                                                  : m_firstMonthNumber < other.m_firstMonthNumber;
    }

private:
    int m_yearNumber;
    int m_firstMonthNumber;
};

template <> struct std::hash<TwoMonths> {
    std::size_t operator()(const TwoMonths& twoMonths) const noexcept {
        return std::hash<int>()(twoMonths.yearNumber() + 7 * twoMonths.firstMonthNumber());
    }
};
