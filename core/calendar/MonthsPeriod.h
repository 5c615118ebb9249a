#pragma once

#include <QString>

#include <memory>
#include <vector>

class Month;

// A block of consecutive months, as the week picker pages through them (Quarter, TwoMonths).
class MonthsPeriod {
public:
    virtual ~MonthsPeriod() = default;

    // The period n periods later (earlier for negative n), of the same kind.
    virtual std::unique_ptr<MonthsPeriod> addMonthsPeriod(int n) const = 0;
    // Periods from this one to `other`. Throws std::invalid_argument when `other` is of another
    // kind.
    virtual int monthsPeriodsTo(const MonthsPeriod& other) const = 0;
    virtual Month firstMonth() const = 0;
    virtual Month lastMonth() const = 0;
    virtual int numberOfMonths() const = 0;
    virtual std::vector<Month> months() const = 0;
    virtual std::unique_ptr<MonthsPeriod> clone() const = 0;
    virtual bool isEqual(const MonthsPeriod& other) const = 0;
    virtual QString description() const = 0;

protected:
    MonthsPeriod() = default;
    MonthsPeriod(const MonthsPeriod&) = default;
    MonthsPeriod& operator=(const MonthsPeriod&) = default;
};
