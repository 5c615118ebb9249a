#include "foundation/WallTime.h"

#include <unicode/timezone.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

double secondsIn(const char16_t* zoneName, const WallTime& wall) {
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(zoneName));
    return wall.dateIn(*zone).timeIntervalSince1970();
}

TEST(WallTimeTest, DaylightSavingDaysSkippedAndRepeatedTimesAndRollover) {
    // An ordinary winter morning in New York, five hours behind UTC.
    EXPECT_EQ(secondsIn(u"America/New_York", {{2024, 1, 15}, 9, 0, 0}), 1705327200);
    // 02:30 does not exist on the spring-forward day; it is read as 03:30 daylight time.
    EXPECT_EQ(secondsIn(u"America/New_York", {{2024, 3, 10}, 2, 30, 0}), 1710055800);
    EXPECT_EQ(secondsIn(u"America/New_York", {{2024, 3, 10}, 3, 30, 0}), 1710055800);
    // Midnight before the change is untouched.
    EXPECT_EQ(secondsIn(u"America/New_York", {{2024, 3, 10}, 0, 0, 0}), 1710046800);
    // 01:30 happens twice on the fall-back day; the first, still in daylight time, is meant.
    EXPECT_EQ(secondsIn(u"America/New_York", {{2024, 11, 3}, 1, 30, 0}), 1730611800);
    // Fields out of range roll over: the 13th month is January, the 25th hour the next day.
    EXPECT_EQ(secondsIn(u"UTC", {{2024, 13, 31}, 23, 0, 0}), 1738364400);
    EXPECT_EQ(secondsIn(u"UTC", {{2025, 1, 30}, 47, 0, 0}), 1738364400);
    // Dates before 1582 are proleptic Gregorian, as CivilDate counts them.
    EXPECT_EQ(secondsIn(u"UTC", {{1500, 1, 1}, 0, 0, 0}), -171664.0 * 86400.0);
}

} // namespace
