#include "CalendarTestSupport.h"

#include "core/calendar/Day.h"

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace DateUtilities;

namespace {

class DateUtilitiesTest : public CalendarTest {};

struct DaylightSavingChange {
    const char16_t* zone;
    Day day;
    double hours; // length of that day
};

// Spring and autumn changes of 2012 in three zones, one of them southern.
const DaylightSavingChange changes[] = {
    {u"Europe/Berlin", Day(2012, 3, 25), 23},     {u"Europe/Berlin", Day(2012, 10, 28), 25},
    {u"America/New_York", Day(2012, 3, 11), 23},  {u"America/New_York", Day(2012, 11, 4), 25},
    {u"Australia/Sydney", Day(2012, 10, 7), 23},  {u"Australia/Sydney", Day(2012, 4, 1), 25},
    {u"America/Sao_Paulo", Day(2018, 11, 4), 23}, {u"America/Sao_Paulo", Day(2018, 2, 17), 25},
    {u"Asia/Beirut", Day(2012, 3, 25), 23},       {u"Asia/Beirut", Day(2012, 10, 27), 25},
};

QString zoneName(const char16_t* zone) {
    return QString::fromUtf16(zone);
}

} // namespace

TEST_F(DateUtilitiesTest, DateWithYearIsMidnightOfThatDayInTheDefaultZone) {
    EXPECT_EQ(dateWithYear(2012, 3, 25).timeIntervalSince1970(), 1332630000.0);
    EXPECT_EQ(dateWithYear(2012, 3, 26).timeIntervalSince1970(), 1332712800.0);
    // Numbers out of range roll over as in a lenient calendar.
    EXPECT_EQ(dateWithYear(2012, 2, 30), dateWithYear(2012, 3, 1));
    EXPECT_EQ(dateWithYear(2012, 13, 1), dateWithYear(2013, 1, 1));
    EXPECT_EQ(dateWithYear(2012, 1, 0), dateWithYear(2011, 12, 31));
}

TEST_F(DateUtilitiesTest, DayBoundsMatchAnIndependentCalendarEveryDayFrom1900To2100) {
    for (const char16_t* zone : {u"Europe/Berlin", u"America/Sao_Paulo", u"Australia/Sydney"}) {
        useZone(zoneName(zone));
        for (Day day(1900, 1, 1); day.yearNumber() <= 2100; day = day.nextDay()) {
            const Date begin = local(zone, day.yearNumber(), day.monthNumber(), day.dayNumber());
            const Date end = day.endDateTime();
            ASSERT_EQ(day.beginDateTime(), begin) << day.description().toStdString();
            ASSERT_EQ(end, day.nextDay().beginDateTime().addingTimeInterval(-1))
                << day.description().toStdString();
            // 23:59:59 where that time exists; its later occurrence where it happens twice.
            const Date wallClockEnd =
                local(zone, day.yearNumber(), day.monthNumber(), day.dayNumber(), 23, 59, 59);
            if (DateUtilities::day(wallClockEnd) == day) {
                ASSERT_TRUE(end == wallClockEnd || end == wallClockEnd.addingTimeInterval(3600))
                    << day.description().toStdString();
            }
            // Asked again (now remembered), the answers stay the same.
            ASSERT_EQ(dateWithYear(day.yearNumber(), day.monthNumber(), day.dayNumber()), begin);
            ASSERT_EQ(endOfDay(begin), end);
            ASSERT_EQ(DateUtilities::day(begin), day);
            ASSERT_EQ(DateUtilities::day(end), day);
            ASSERT_NE(DateUtilities::day(begin.addingTimeInterval(-1)), day);
        }
    }
}

TEST_F(DateUtilitiesTest, DaysToCountsCalendarDaysWhateverTheTimeOfDay) {
    EXPECT_EQ(daysTo(local(2012, 6, 4, 23, 30), local(2012, 6, 5, 0, 10)), 1);
    EXPECT_EQ(daysTo(local(2012, 6, 4, 0, 10), local(2012, 6, 4, 23, 30)), 0);
    EXPECT_EQ(daysTo(local(2012, 6, 9, 8, 0), local(2012, 6, 4, 20, 0)), -5);
    EXPECT_EQ(daysTo(local(2011, 12, 31), local(2013, 1, 1)), 367);
}

TEST_F(DateUtilitiesTest, DaylightSavingChangesKeepDayArithmeticWhole) {
    for (const DaylightSavingChange& change : changes) {
        SCOPED_TRACE(zoneName(change.zone).toStdString() + " " + change.day.description().toStdString());
        useZone(zoneName(change.zone));
        const Day before = change.day.addDays(-1);
        const Day after = change.day.addDays(1);

        // The day itself is 23 or 25 hours long.
        EXPECT_EQ(after.addDays(-1).beginDateTime(), change.day.beginDateTime());
        EXPECT_EQ(after.beginDateTime().timeIntervalSinceDate(change.day.beginDateTime()),
                  change.hours * 3600);
        // Day starts are sane also where midnight does not exist: on the right day, at most an hour in.
        const Date start = change.day.beginDateTime();
        EXPECT_EQ(DateUtilities::day(start), change.day);
        EXPECT_NE(DateUtilities::day(start.addingTimeInterval(-1)), change.day);
        EXPECT_EQ(DateUtilities::day(change.day.endDateTime().addingTimeInterval(1)), after);

        EXPECT_EQ(daysTo(before.beginDateTime(), after.beginDateTime()), 2);
        EXPECT_EQ(daysTo(before.beginDateTime().addingTimeInterval(12 * 3600), after.endDateTime()), 2);
        EXPECT_EQ(daysTo(after.endDateTime(), before.beginDateTime()), -2);
        EXPECT_EQ(before.daysTo(after), 2);
        EXPECT_EQ(change.day.daysTo(after), 1);
        EXPECT_EQ(after.daysTo(before), -2);

        // endOfDay of a day start is the last second of that day, also on a 23- or 25-hour day.
        EXPECT_EQ(endOfDay(start), after.beginDateTime().addingTimeInterval(-1));
        EXPECT_EQ(endOfDay(start), change.day.endDateTime());
        EXPECT_EQ(endOfDay(before.beginDateTime()), before.endDateTime());

        // addDays keeps the wall-clock time: noon stays noon across the change.
        const Date noonBefore =
            local(change.zone, before.yearNumber(), before.monthNumber(), before.dayNumber(), 12);
        const Date noonAfter =
            local(change.zone, after.yearNumber(), after.monthNumber(), after.dayNumber(), 12);
        EXPECT_EQ(addDays(noonBefore, 2), noonAfter);
        EXPECT_EQ(addDays(noonAfter, -2), noonBefore);
        EXPECT_EQ(addDays(noonBefore, 2).timeIntervalSinceDate(noonBefore), (24 + change.hours) * 3600);
        EXPECT_EQ(addWeeks(noonBefore, 1), addDays(noonBefore, 7));
        // Hours are absolute.
        EXPECT_EQ(addHours(noonBefore, 48).timeIntervalSinceDate(noonBefore), 48 * 3600.0);
    }
}

TEST_F(DateUtilitiesTest, EndOfDayOfOtherTimesAddsADayLessASecond) {
    EXPECT_EQ(endOfDay(local(2012, 3, 24, 14, 0)), local(2012, 3, 25, 13, 59, 59));
    EXPECT_EQ(endOfDay(local(2012, 6, 1, 0, 0, 1)), local(2012, 6, 2, 0, 0, 0));
}

TEST_F(DateUtilitiesTest, TheDayBeforeTheFirstBerlinSummerTimeEndsAt23) {
    // 1916-04-30 23:00 became 24:00: the day has no 23:59:59.
    EXPECT_EQ(Day(1916, 4, 30).endDateTime(), Day(1916, 5, 1).beginDateTime().addingTimeInterval(-1));
    EXPECT_EQ(DateUtilities::day(Day(1916, 4, 30).endDateTime()), Day(1916, 4, 30));
    EXPECT_EQ(Day(1916, 4, 30).endDateTime(), local(1916, 4, 30, 22, 59, 59));
}

TEST_F(DateUtilitiesTest, MidnightInADaylightSavingGapStartsTheDayAtTheEndOfTheGap) {
    useZone(QStringLiteral("America/Sao_Paulo"));
    // 2018-11-04: 00:00 became 01:00.
    EXPECT_EQ(dateWithYear(2018, 11, 4).timeIntervalSince1970(), 1541300400.0);
    EXPECT_EQ(addDays(dateWithYear(2018, 11, 3), 1), dateWithYear(2018, 11, 4));
    // 2018-02-18: midnight fell back to 23:00 of the 17th; the 17th ends at the second midnight.
    EXPECT_EQ(dateWithYear(2018, 2, 18).timeIntervalSince1970(), 1518922800.0);
    EXPECT_EQ(Day(2018, 2, 17).endDateTime().timeIntervalSince1970(), 1518922799.0);

    useZone(QStringLiteral("Asia/Beirut"));
    EXPECT_EQ(dateWithYear(2012, 3, 25).timeIntervalSince1970(), 1332626400.0);
    EXPECT_EQ(dateWithYear(2012, 10, 27).timeIntervalSince1970(), 1351285200.0);
    EXPECT_EQ(dateWithYear(2012, 10, 28).timeIntervalSince1970(), 1351375200.0);
}

TEST_F(DateUtilitiesTest, WeekOfADateFollowsTheFirstWeekday) {
    const Date sunday = local(2012, 10, 28, 15, 20);
    Week::setFirstWeekdayOfWeek(2);
    EXPECT_EQ(week(sunday).date(), local(2012, 10, 22));
    EXPECT_EQ(week(local(2012, 10, 22)).date(), local(2012, 10, 22));
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(week(sunday).date(), local(2012, 10, 28));
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_EQ(week(sunday).date(), local(2012, 10, 27));
    // Across a year.
    EXPECT_EQ(week(local(2013, 1, 4, 9)).date(), local(2012, 12, 29));
}

TEST_F(DateUtilitiesTest, ThisOrLastMondayIgnoresTheFirstWeekday) {
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(thisOrLastMonday(local(2012, 10, 22, 15, 0)), local(2012, 10, 22));
    EXPECT_EQ(thisOrLastMonday(local(2012, 10, 28, 23, 59)), local(2012, 10, 22));
    EXPECT_EQ(thisOrLastMonday(local(2013, 1, 1, 1, 0)), local(2012, 12, 31));
}

TEST_F(DateUtilitiesTest, ApplyDateWithoutTimeKeepsHourAndMinuteOnly) {
    const Date time = local(2012, 5, 3, 14, 45, 30);
    EXPECT_EQ(applyDateWithoutTime(time, local(2012, 11, 20, 8, 5, 1)), local(2012, 11, 20, 14, 45, 0));
    // On a daylight-saving day the wall-clock time is kept.
    EXPECT_EQ(applyDateWithoutTime(time, local(2012, 3, 25)), local(2012, 3, 25, 14, 45, 0));
}

TEST_F(DateUtilitiesTest, FieldsOfADate) {
    const Date date = local(2012, 12, 31, 23, 59, 59);
    EXPECT_EQ(weekday(date), 2);
    EXPECT_EQ(year(date), 2012);
    EXPECT_EQ(year(date.addingTimeInterval(1)), 2013);
    EXPECT_EQ(DateUtilities::day(date), Day(2012, 12, 31));
    EXPECT_EQ(januaryFirstOfSameYear(date), local(2012, 1, 1));
    EXPECT_TRUE(isEqualToDateIgnoreTime(date, local(2012, 12, 31)));
    EXPECT_FALSE(isEqualToDateIgnoreTime(date, date.addingTimeInterval(1)));
    EXPECT_TRUE(isLaterThanOrEqual(date, date));
    EXPECT_TRUE(isEarlierThanOrEqual(date, date));
    EXPECT_FALSE(isLaterThanOrEqual(date, date.addingTimeInterval(1)));
    EXPECT_FALSE(isEarlierThanOrEqual(date.addingTimeInterval(1), date));

    Week::setFirstWeekdayOfWeek(2);
    EXPECT_TRUE(isLastDayOfWeek(local(2012, 10, 28, 12)));
    EXPECT_FALSE(isLastDayOfWeek(local(2012, 10, 27, 12)));
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_TRUE(isLastDayOfWeek(local(2012, 10, 26, 12)));
}

TEST_F(DateUtilitiesTest, DaysBackToTheStartOfAWeek) {
    Week::setFirstWeekdayOfWeek(2);
    const int backToMonday[] = {6, 0, 1, 2, 3, 4, 5};
    for (int weekday = 1; weekday <= 7; ++weekday) {
        EXPECT_EQ(daysBackToFirstDayOfWeek(weekday), backToMonday[weekday - 1]);
        EXPECT_EQ(daysBackToLastMonday(weekday), backToMonday[weekday - 1]);
    }
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_EQ(daysBackToFirstDayOfWeek(7), 0);
    EXPECT_EQ(daysBackToFirstDayOfWeek(6), 6);
    EXPECT_EQ(daysBackToFirstDayOfWeek(1), 1);
    EXPECT_EQ(daysBackToLastMonday(1), 6);
}

TEST_F(DateUtilitiesTest, EveryThreadsCalendarFollowsAChangeOfTheProcessZone) {
    const Date berlinMidnight = dateWithYear(2012, 6, 1);
    EXPECT_EQ(berlinMidnight, local(u"Europe/Berlin", 2012, 6, 1));
    TimeZone::setDefaultTimeZone(*TimeZone::withName(QStringLiteral("Asia/Tokyo")));
    DateTimeFormatter::instance().reset();
    const Date tokyoMidnight = dateWithYear(2012, 6, 1);
    EXPECT_EQ(tokyoMidnight, local(u"Asia/Tokyo", 2012, 6, 1));
    EXPECT_EQ(Day(2012, 6, 1).beginDateTime(), tokyoMidnight);
    EXPECT_EQ(DateUtilities::day(tokyoMidnight), Day(2012, 6, 1));
    EXPECT_EQ(DateTimeFormatter::instance().formatSettingsDate(tokyoMidnight), "2012-06-01 00:00:00");
    EXPECT_EQ(DateTimeFormatter::instance().formatTime(tokyoMidnight), "12:00\u202fAM");

    // A worker that made its calendar before the change computes in the new zone afterwards.
    std::mutex mutex;
    std::condition_variable changed;
    bool calendarMade = false;
    bool zoneChanged = false;
    Date before;
    Date after;
    std::thread worker([&] {
        const Date first = dateWithYear(2012, 6, 1);
        std::unique_lock lock(mutex);
        before = first;
        calendarMade = true;
        changed.notify_all();
        changed.wait(lock, [&] { return zoneChanged; });
        lock.unlock();
        after = dateWithYear(2012, 6, 1);
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return calendarMade; });
    }
    TimeZone::setDefaultTimeZone(*TimeZone::withName(QStringLiteral("America/New_York")));
    {
        std::lock_guard lock(mutex);
        zoneChanged = true;
    }
    changed.notify_all();
    worker.join();
    EXPECT_EQ(before, tokyoMidnight);
    EXPECT_EQ(after, local(u"America/New_York", 2012, 6, 1));
    EXPECT_EQ(dateWithYear(2012, 6, 1), after);
}

TEST_F(DateUtilitiesTest, ReloadingDropsOnlyTheCallingThreadsCalendar) {
    icu::GregorianCalendar* const mine = &calendar();
    icu::GregorianCalendar* workersBefore = nullptr;
    icu::GregorianCalendar* workersAfter = nullptr;
    std::thread([&] {
        workersBefore = &calendar();
        std::thread([] { reloadCalendar(); }).join(); // another thread's reload
        workersAfter = &calendar();
    }).join();
    EXPECT_EQ(workersBefore, workersAfter);
    EXPECT_EQ(&calendar(), mine);
    reloadCalendar();
    EXPECT_EQ(dateWithYear(2012, 6, 1), local(u"Europe/Berlin", 2012, 6, 1));
}

TEST_F(DateUtilitiesTest, ChangingTheCalendarsZoneDirectlyForgetsRememberedDays) {
    const Date berlin = dateWithYear(2012, 6, 1);
    calendar().adoptTimeZone(icu::TimeZone::createTimeZone("Asia/Tokyo"));
    EXPECT_NE(dateWithYear(2012, 6, 1), berlin);
    EXPECT_EQ(dateWithYear(2012, 6, 1), local(u"Asia/Tokyo", 2012, 6, 1));
}
