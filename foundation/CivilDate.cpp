#include "foundation/CivilDate.h"

bool CivilDate::isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CivilDate::daysInYear(int year) {
    return isLeapYear(year) ? 366 : 365;
}

int CivilDate::daysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

bool CivilDate::isValid(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

// Howard Hinnant's days_from_civil and civil_from_days (public domain): years counted from March,
// so that the leap day ends the year, in 400-year eras of 146097 days.
std::int64_t CivilDate::daysFromCivil(int year, int month, int day) {
    const std::int64_t carry = floorDiv(static_cast<std::int64_t>(month) - 1, 12);
    const std::int64_t m = month - carry * 12;
    const std::int64_t y = year + carry - (m <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilDate::civilFromDays(std::int64_t days) {
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = floorDiv(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return CivilDate{static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), static_cast<int>(month),
                     static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1)};
}

int CivilDate::weekdayOfDays(std::int64_t days) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(days + 4 - floorDiv(days + 4, 7) * 7);
}

std::int64_t CivilDate::floorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && (value < 0) != (divisor < 0)) {
        --quotient;
    }
    return quotient;
}
