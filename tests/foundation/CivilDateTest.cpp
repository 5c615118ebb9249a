#include "foundation/CivilDate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const CivilDate& date) {
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
}

TEST(CivilDate, LeapYearsMonthLengthsAndValidDays) {
    for (const int year : {2000, 1600, 2024, 0, -4}) {
        EXPECT_TRUE(CivilDate::isLeapYear(year)) << year;
        EXPECT_EQ(CivilDate::daysInYear(year), 366) << year;
        EXPECT_EQ(CivilDate::daysInMonth(year, 2), 29) << year;
    }
    for (const int year : {1900, 2100, 2023, -100}) {
        EXPECT_FALSE(CivilDate::isLeapYear(year)) << year;
        EXPECT_EQ(CivilDate::daysInYear(year), 365) << year;
        EXPECT_EQ(CivilDate::daysInMonth(year, 2), 28) << year;
    }
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(CivilDate::daysInMonth(2023, month), lengths[month - 1]) << month;
    }
    EXPECT_TRUE(CivilDate::isValid(2024, 2, 29));
    EXPECT_FALSE(CivilDate::isValid(2023, 2, 29));
    EXPECT_FALSE(CivilDate::isValid(1900, 2, 29));
    EXPECT_TRUE(CivilDate::isValid(2024, 12, 31));
    EXPECT_FALSE(CivilDate::isValid(2024, 4, 31));
    EXPECT_FALSE(CivilDate::isValid(2024, 13, 1));
    EXPECT_FALSE(CivilDate::isValid(2024, 0, 1));
    EXPECT_FALSE(CivilDate::isValid(2024, 1, 0));
}

TEST(CivilDate, DaysCountFrom1970AndRollOverLikeALenientCalendar) {
    EXPECT_EQ(CivilDate::daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(CivilDate::daysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(CivilDate::daysFromCivil(1900, 1, 1), -25567);
    EXPECT_EQ(text(CivilDate::civilFromDays(-25567 + 58)), "1900-2-28");
    EXPECT_EQ(text(CivilDate::civilFromDays(-25567 + 59)), "1900-3-1");
    // 1970-01-01 was a Thursday, 2000-01-01 a Saturday.
    EXPECT_EQ(CivilDate::weekdayOfDays(0), 4);
    EXPECT_EQ(CivilDate::weekdayOfDays(-1), 3);
    EXPECT_EQ(CivilDate::weekdayOfDays(CivilDate::daysFromCivil(2000, 1, 1)), 6);

    EXPECT_EQ(CivilDate::daysFromCivil(2023, 13, 1), CivilDate::daysFromCivil(2024, 1, 1));
    EXPECT_EQ(CivilDate::daysFromCivil(2024, 0, 31), CivilDate::daysFromCivil(2023, 12, 31));
    EXPECT_EQ(CivilDate::daysFromCivil(2024, -11, 1), CivilDate::daysFromCivil(2023, 1, 1));
    EXPECT_EQ(CivilDate::daysFromCivil(2024, 3, 0), CivilDate::daysFromCivil(2024, 2, 29));
    EXPECT_EQ(CivilDate::daysFromCivil(2023, 2, 29), CivilDate::daysFromCivil(2023, 3, 1));

    EXPECT_EQ(CivilDate::floorDiv(-1, 86400), -1);
    EXPECT_EQ(CivilDate::floorDiv(-86400, 86400), -1);
    EXPECT_EQ(CivilDate::floorDiv(86399, 86400), 0);
    EXPECT_EQ(CivilDate::floorDiv(7, -2), -4);
}

// Every day from 1001 BC to AD 3000 follows the one before it by the month lengths, converts
// back to its number, and moves the weekday on by one.
TEST(CivilDate, EveryDayOfFourThousandYearsFollowsTheDayBefore) {
    const std::int64_t first = CivilDate::daysFromCivil(-1000, 1, 1);
    const std::int64_t last = CivilDate::daysFromCivil(3000, 12, 31);
    CivilDate expected{-1000, 1, 1};
    int weekday = CivilDate::weekdayOfDays(first);
    for (std::int64_t days = first; days <= last; ++days) {
        ASSERT_EQ(CivilDate::civilFromDays(days), expected) << days << " " << text(expected);
        ASSERT_EQ(CivilDate::daysFromCivil(expected.year, expected.month, expected.day), days)
            << text(expected);
        ASSERT_EQ(CivilDate::weekdayOfDays(days), weekday) << text(expected);
        if (expected.day < CivilDate::daysInMonth(expected.year, expected.month)) {
            ++expected.day;
        } else if (expected.month < 12) {
            expected = CivilDate{expected.year, expected.month + 1, 1};
        } else {
            expected = CivilDate{expected.year + 1, 1, 1};
        }
        weekday = (weekday + 1) % 7;
    }
    EXPECT_EQ(text(expected), "3001-1-1");
}

} // namespace
