#include "core/calendar/TwoMonths.h"

#include "core/calendar/Month.h"
#include "foundation/CivilDate.h"

#include <stdexcept>

TwoMonths TwoMonths::addTwoMonths(int n) const {
    const int total = m_yearNumber * 12 + m_firstMonthNumber - 1 + 2 * n;
    const int year = static_cast<int>(CivilDate::floorDiv(total, 12));
    return TwoMonths(year, total - year * 12 + 1);
}

int TwoMonths::twoMonthsTo(const TwoMonths& other) const {
    return ((other.m_yearNumber * 12 + other.m_firstMonthNumber) - (m_yearNumber * 12 + m_firstMonthNumber)) /
           2;
}

std::unique_ptr<MonthsPeriod> TwoMonths::addMonthsPeriod(int n) const {
    return std::make_unique<TwoMonths>(addTwoMonths(n));
}

int TwoMonths::monthsPeriodsTo(const MonthsPeriod& other) const {
    const auto* twoMonths = dynamic_cast<const TwoMonths*>(&other);
    if (!twoMonths) {
        throw std::invalid_argument("otherMonthsPeriod should be of the same type");
    }
    return twoMonthsTo(*twoMonths);
}

Month TwoMonths::firstMonth() const {
    return Month(m_yearNumber, m_firstMonthNumber);
}

Month TwoMonths::lastMonth() const {
    return firstMonth().nextMonth();
}

std::vector<Month> TwoMonths::months() const {
    return {firstMonth(), lastMonth()};
}

std::unique_ptr<MonthsPeriod> TwoMonths::clone() const {
    return std::make_unique<TwoMonths>(*this);
}

bool TwoMonths::isEqual(const MonthsPeriod& other) const {
    const auto* twoMonths = dynamic_cast<const TwoMonths*>(&other);
    return twoMonths && *twoMonths == *this;
}

QString TwoMonths::description() const {
    return firstMonth().description() + QLatin1Char('+') + lastMonth().description();
}
