#include "core/calendar/Quarter.h"

#include "core/calendar/Month.h"
#include "foundation/CivilDate.h"

#include <stdexcept>

Quarter Quarter::addQuarters(int n) const {
    const int total = m_yearNumber * 4 + m_quarterNumber - 1 + n;
    const int year = static_cast<int>(CivilDate::floorDiv(total, 4));
    return Quarter(year, total - year * 4 + 1);
}

int Quarter::quartersTo(const Quarter& other) const {
    return (other.m_yearNumber * 4 + other.m_quarterNumber) - (m_yearNumber * 4 + m_quarterNumber);
}

std::unique_ptr<MonthsPeriod> Quarter::addMonthsPeriod(int n) const {
    return std::make_unique<Quarter>(addQuarters(n));
}

int Quarter::monthsPeriodsTo(const MonthsPeriod& other) const {
    const auto* quarter = dynamic_cast<const Quarter*>(&other);
    if (!quarter) {
        throw std::invalid_argument("otherMonthsPeriod should be of the same type");
    }
    return quartersTo(*quarter);
}

Month Quarter::firstMonth() const {
    return Month(m_yearNumber, 3 * m_quarterNumber - 2);
}

Month Quarter::lastMonth() const {
    return Month(m_yearNumber, 3 * m_quarterNumber);
}

std::vector<Month> Quarter::months() const {
    const Month first = firstMonth();
    return {first, first.nextMonth(), first.nextMonth().nextMonth()};
}

std::unique_ptr<MonthsPeriod> Quarter::clone() const {
    return std::make_unique<Quarter>(*this);
}

bool Quarter::isEqual(const MonthsPeriod& other) const {
    const auto* quarter = dynamic_cast<const Quarter*>(&other);
    return quarter && *quarter == *this;
}

QString Quarter::description() const {
    return QString::asprintf("%04dQ%d", m_yearNumber, m_quarterNumber);
}
