#include "EventStoreTestSupport.h"

#include "core/eventstore/WallClock.h"
#include "foundation/CivilDate.h"

namespace {

using WallClockTest = EventStoreTest;

TEST_F(WallClockTest, WallTimesReadAndWriteAsICalendarText) {
    EXPECT_EQ(WallClock::formatWall(-1), QStringLiteral("19691231T235959"));
    EXPECT_EQ(WallClock::parseWall(QStringLiteral("19691231T235959")), -1);
    EXPECT_FALSE(WallClock::parseWall(QStringLiteral("20240230T000000")).has_value());
    EXPECT_FALSE(WallClock::parseWall(QStringLiteral("2024-01-01")).has_value());
}

TEST_F(WallClockTest, SkippedTimesMoveForwardAndRepeatedTimesMeanTheFirst) {
    const std::int64_t spring = CivilDate::daysFromCivil(2024, 3, 31) * 86400 + 2 * 3600 + 1800;
    EXPECT_EQ(WallClock::date(spring, QStringLiteral("Europe/Berlin")), local(u"UTC", 2024, 3, 31, 1, 30));
    const std::int64_t autumn = CivilDate::daysFromCivil(2024, 10, 27) * 86400 + 2 * 3600 + 1800;
    EXPECT_EQ(WallClock::date(autumn, QStringLiteral("Europe/Berlin")), local(u"UTC", 2024, 10, 27, 0, 30));
    // An unknown zone counts as the process zone.
    EXPECT_EQ(WallClock::date(autumn, QStringLiteral("Nowhere/Special")), WallClock::date(autumn, QString()));
}

TEST_F(WallClockTest, EveryHourOfAYearConvertsBothWaysInSeveralZones) {
    for (const char16_t* zone :
         {u"Europe/Berlin", u"America/New_York", u"Australia/Lord_Howe", u"Asia/Kolkata"}) {
        const QString name = QString::fromUtf16(zone);
        for (int hour = 0; hour < 366 * 24; ++hour) {
            const Date date = local(u"UTC", 2024, 1, 1).addingTimeInterval(hour * 3600.0 + 1800.0);
            const std::int64_t wall = WallClock::wallSeconds(date, name);
            QString expected = text(date, zone);
            expected.remove(QLatin1Char('-'))
                .remove(QLatin1Char(':'))
                .replace(QLatin1Char(' '), QLatin1Char('T'));
            ASSERT_EQ(WallClock::formatWall(wall).left(13), expected) << name.toStdString() << " " << hour;
            // Back to the same instant unless the wall time happens twice and this is the second.
            const Date back = WallClock::date(wall, name);
            ASSERT_TRUE(back == date || back.timeIntervalSinceDate(date) < 0)
                << name.toStdString() << " " << hour;
        }
    }
}

} // namespace
