#pragma once

#include "core/calendar/MonthsPeriod.h"

#include <functional>

// Three months: quarter q of a year holds the months 3q − 2 to 3q.
class Quarter final : public MonthsPeriod {
public:
    Quarter(int yearNumber, int quarterNumber) : m_yearNumber(yearNumber), m_quarterNumber(quarterNumber) {}
    Quarter(const Quarter&) = default;
    Quarter& operator=(const Quarter&) = default;

    int yearNumber() const { return m_yearNumber; }
    int quarterNumber() const { return m_quarterNumber; }

    Quarter addQuarters(int n) const;
    int quartersTo(const Quarter& other) const;

    std::unique_ptr<MonthsPeriod> addMonthsPeriod(int n) const override;
    int monthsPeriodsTo(const MonthsPeriod& other) const override;
    Month firstMonth() const override;
    Month lastMonth() const override;
    int numberOfMonths() const override { return 3; }
    std::vector<Month> months() const override;
    std::unique_ptr<MonthsPeriod> clone() const override;
    bool isEqual(const MonthsPeriod& other) const override;
    // "%04dQ%d".
    QString description() const override;

    bool operator==(const Quarter& other) const {
        return m_yearNumber == other.m_yearNumber && m_quarterNumber == other.m_quarterNumber;
    }
    bool operator<(const Quarter& other) const {
        return m_yearNumber != other.m_yearNumber ? m_yearNumber < other.m_yearNumber
                                                  : m_quarterNumber < other.m_quarterNumber;
    }

private:
    int m_yearNumber;
    int m_quarterNumber;
};

template <> struct std::hash<Quarter> {
    std::size_t operator()(const Quarter& quarter) const noexcept {
        return std::hash<int>()(quarter.yearNumber() + 7 * quarter.quarterNumber());
    }
};
