#include "EventStoreTestSupport.h"

#include "core/eventstore/RecurrenceSeries.h"
#include "core/eventstore/WallClock.h"
#include "testing/LogCapture.h"

#include <libical/ical.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <random>

namespace {

class RecurrenceExpansionTest : public EventStoreTest {
protected:
    // Saves a series starting at the wall time in New York (the zone of the RFC 5545 examples) and
    // returns the starts of its occurrences in [from, to) as New York wall times.
    QStringList expand(const char* rrule, Date start, Date from, Date to, double duration = 3600) {
        auto event =
            newEvent(QString::fromLatin1(rrule), start, start.addingTimeInterval(duration), rule(rrule));
        event->setTimeZone(QStringLiteral("America/New_York"));
        StoreError error;
        EXPECT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error))
            << error.localizedDescription.toStdString();
        auto events = query(from, to);
        std::erase_if(events,
                      [&](const auto& e) { return e->eventIdentifier() != event->eventIdentifier(); });
        return starts(events, u"America/New_York");
    }

    static Date ny(int year, int month, int day, int hour = 0, int minute = 0) {
        return local(u"America/New_York", year, month, day, hour, minute);
    }

    static QStringList at9(std::initializer_list<const char*> days) {
        QStringList list;
        for (const char* day : days) {
            list.append(QString::fromLatin1(day) + QStringLiteral(" 09:00"));
        }
        return list;
    }
};

// RFC 5545 3.8.5.3, the examples with DTSTART;TZID=America/New_York.
TEST_F(RecurrenceExpansionTest, DailyForTenOccurrences) {
    EXPECT_EQ(expand("FREQ=DAILY;COUNT=10", ny(1997, 9, 2, 9), ny(1997, 1, 1), ny(1999, 1, 1)),
              at9({"1997-09-02", "1997-09-03", "1997-09-04", "1997-09-05", "1997-09-06", "1997-09-07",
                   "1997-09-08", "1997-09-09", "1997-09-10", "1997-09-11"}));
}

TEST_F(RecurrenceExpansionTest, DailyUntilDecember24) {
    const QStringList days =
        expand("FREQ=DAILY;UNTIL=19971224T000000Z", ny(1997, 9, 2, 9), ny(1997, 1, 1), ny(1999, 1, 1));
    ASSERT_EQ(days.size(), 113);
    EXPECT_EQ(days.first(), QStringLiteral("1997-09-02 09:00"));
    EXPECT_EQ(days.last(), QStringLiteral("1997-12-23 09:00"));
    // Standard time from 26 October on: still 09:00 on the wall.
    EXPECT_TRUE(days.contains(QStringLiteral("1997-10-27 09:00")));
}

TEST_F(RecurrenceExpansionTest, EveryOtherDayAndEveryTenDays) {
    EXPECT_EQ(expand("FREQ=DAILY;INTERVAL=2", ny(1997, 9, 2, 9), ny(1997, 9, 1), ny(1997, 9, 10)),
              at9({"1997-09-02", "1997-09-04", "1997-09-06", "1997-09-08"}));
    EXPECT_EQ(expand("FREQ=DAILY;INTERVAL=10;COUNT=5", ny(1997, 9, 2, 9), ny(1997, 1, 1), ny(1999, 1, 1)),
              at9({"1997-09-02", "1997-09-12", "1997-09-22", "1997-10-02", "1997-10-12"}));
}

TEST_F(RecurrenceExpansionTest, WeeklyOnTuesdayAndThursdayForFiveWeeks) {
    const QStringList expected = at9({"1997-09-02", "1997-09-04", "1997-09-09", "1997-09-11", "1997-09-16",
                                      "1997-09-18", "1997-09-23", "1997-09-25", "1997-09-30", "1997-10-02"});
    EXPECT_EQ(expand("FREQ=WEEKLY;UNTIL=19971007T000000Z;WKST=SU;BYDAY=TU,TH", ny(1997, 9, 2, 9),
                     ny(1997, 1, 1), ny(1999, 1, 1)),
              expected);
    EXPECT_EQ(
        expand("FREQ=WEEKLY;COUNT=10;WKST=SU;BYDAY=TU,TH", ny(1997, 9, 2, 9), ny(1997, 1, 1), ny(1999, 1, 1)),
        expected);
}

TEST_F(RecurrenceExpansionTest, EveryOtherWeekOnMondayWednesdayFridayUntilDecember24) {
    const QStringList days = expand("FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224T000000Z;WKST=SU;BYDAY=MO,WE,FR",
                                    ny(1997, 9, 1, 9), ny(1997, 1, 1), ny(1999, 1, 1));
    ASSERT_EQ(days.size(), 25);
    EXPECT_EQ(days.mid(0, 6),
              at9({"1997-09-01", "1997-09-03", "1997-09-05", "1997-09-15", "1997-09-17", "1997-09-19"}));
    EXPECT_EQ(days.last(), QStringLiteral("1997-12-22 09:00"));
}

TEST_F(RecurrenceExpansionTest, MonthlyOnTheFirstFriday) {
    EXPECT_EQ(expand("FREQ=MONTHLY;COUNT=10;BYDAY=1FR", ny(1997, 9, 5, 9), ny(1997, 1, 1), ny(1999, 1, 1)),
              at9({"1997-09-05", "1997-10-03", "1997-11-07", "1997-12-05", "1998-01-02", "1998-02-06",
                   "1998-03-06", "1998-04-03", "1998-05-01", "1998-06-05"}));
}

TEST_F(RecurrenceExpansionTest, YearlyInJuneAndJuly) {
    EXPECT_EQ(expand("FREQ=YEARLY;COUNT=10;BYMONTH=6,7", ny(1997, 6, 10, 9), ny(1997, 1, 1), ny(2010, 1, 1)),
              at9({"1997-06-10", "1997-07-10", "1998-06-10", "1998-07-10", "1999-06-10", "1999-07-10",
                   "2000-06-10", "2000-07-10", "2001-06-10", "2001-07-10"}));
}

TEST_F(RecurrenceExpansionTest, EveryThirdYearOnThe1st100thAnd200thDay) {
    EXPECT_EQ(expand("FREQ=YEARLY;INTERVAL=3;COUNT=10;BYYEARDAY=1,100,200", ny(1997, 1, 1, 9), ny(1997, 1, 1),
                     ny(2010, 1, 1)),
              at9({"1997-01-01", "1997-04-10", "1997-07-19", "2000-01-01", "2000-04-09", "2000-07-18",
                   "2003-01-01", "2003-04-10", "2003-07-19", "2006-01-01"}));
}

TEST_F(RecurrenceExpansionTest, MonthlyOnTheSecondToLastMonday) {
    EXPECT_EQ(expand("FREQ=MONTHLY;COUNT=6;BYDAY=-2MO", ny(1997, 9, 22, 9), ny(1997, 1, 1), ny(1999, 1, 1)),
              at9({"1997-09-22", "1997-10-20", "1997-11-17", "1997-12-22", "1998-01-19", "1998-02-16"}));
}

TEST_F(RecurrenceExpansionTest, LastWorkDayOfTheMonth) {
    EXPECT_EQ(expand("FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", ny(1997, 9, 29, 9), ny(1997, 1, 1),
                     ny(1998, 4, 1)),
              at9({"1997-09-30", "1997-10-31", "1997-11-28", "1997-12-31", "1998-01-30", "1998-02-27",
                   "1998-03-31"}));
}

TEST_F(RecurrenceExpansionTest, TheWeekStartChangesWhichDaysAnIntervalPicks) {
    EXPECT_EQ(expand("FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO", ny(1997, 8, 5, 9), ny(1997, 1, 1),
                     ny(1999, 1, 1)),
              at9({"1997-08-05", "1997-08-10", "1997-08-19", "1997-08-24"}));
    EXPECT_EQ(expand("FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU", ny(1997, 8, 5, 9), ny(1997, 1, 1),
                     ny(1999, 1, 1)),
              at9({"1997-08-05", "1997-08-17", "1997-08-19", "1997-08-31"}));
}

TEST_F(RecurrenceExpansionTest, MonthlyOnThe31stSkipsShortMonthsAndFebruary29thComesEveryFourYears) {
    EXPECT_EQ(expand("FREQ=MONTHLY", ny(2024, 1, 31, 9), ny(2024, 1, 1), ny(2024, 9, 1)),
              at9({"2024-01-31", "2024-03-31", "2024-05-31", "2024-07-31", "2024-08-31"}));
    EXPECT_EQ(expand("FREQ=YEARLY", ny(2024, 2, 29, 9), ny(2024, 1, 1), ny(2033, 1, 1)),
              at9({"2024-02-29", "2028-02-29", "2032-02-29"}));
}

// libical 3.0.16 never matches a negative BYMONTHDAY in a DAILY rule; such rules are simple ones
// and expanded without it.
TEST_F(RecurrenceExpansionTest, DailyOnTheLastDayOfTheMonth) {
    EXPECT_EQ(expand("FREQ=DAILY;BYMONTHDAY=-1", ny(2024, 1, 15, 9), ny(2024, 1, 1), ny(2024, 5, 1)),
              at9({"2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30"}));
}

TEST_F(RecurrenceExpansionTest, ARuleThatDoesNotProduceItsFirstStartLeavesItOut) {
    // 1997-09-29 is a Monday but not the last work day of its month (RFC 5545 3.8.5.3).
    EXPECT_EQ(expand("FREQ=WEEKLY;BYDAY=FR", ny(2024, 3, 4, 9), ny(2024, 3, 1), ny(2024, 3, 16)),
              at9({"2024-03-08", "2024-03-15"}));
}

TEST_F(RecurrenceExpansionTest, AMeetingKeepsItsWallClockTimeAcrossDaylightSavingChanges) {
    auto event =
        saved(QStringLiteral("Jour fixe"), at(2024, 3, 18, 9), at(2024, 3, 18, 10), rule("FREQ=WEEKLY"));
    EXPECT_EQ(event->timeZone(), QString());
    const auto spring = query(at(2024, 3, 18), at(2024, 4, 9));
    EXPECT_EQ(describe(spring),
              (QStringList{QStringLiteral("Jour fixe 2024-03-18 09:00 – 2024-03-18 10:00"),
                           QStringLiteral("Jour fixe 2024-03-25 09:00 – 2024-03-25 10:00"),
                           QStringLiteral("Jour fixe 2024-04-01 09:00 – 2024-04-01 10:00"),
                           QStringLiteral("Jour fixe 2024-04-08 09:00 – 2024-04-08 10:00")}));
    ASSERT_EQ(spring.size(), 4u);
    EXPECT_EQ(spring[1]->startDate().timeIntervalSinceDate(spring[0]->startDate()), 7 * 86400.0);
    EXPECT_EQ(spring[2]->startDate().timeIntervalSinceDate(spring[1]->startDate()), 7 * 86400.0 - 3600.0);
    EXPECT_EQ(starts(query(at(2024, 10, 21), at(2024, 11, 5))),
              (QStringList{QStringLiteral("2024-10-21 09:00"), QStringLiteral("2024-10-28 09:00"),
                           QStringLiteral("2024-11-04 09:00")}));
    for (const auto& occurrence : spring) {
        EXPECT_EQ(occurrence->eventIdentifier(), event->eventIdentifier());
        EXPECT_EQ(occurrence->occurrenceDate(), occurrence->startDate());
        EXPECT_EQ(occurrence->timeZone(), QStringLiteral("Europe/Berlin"));
        EXPECT_TRUE(occurrence->hasRecurrenceRules());
    }
}

TEST_F(RecurrenceExpansionTest, AnEventKeepsTheWallClockOfItsOwnZoneWhateverTheProcessZone) {
    auto event = newEvent(QStringLiteral("Call"), ny(2024, 3, 4, 9), ny(2024, 3, 4, 10), rule("FREQ=WEEKLY"));
    event->setTimeZone(QStringLiteral("America/New_York"));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, nullptr));
    // New York moves to summer time on 10 March, Berlin only on 31 March.
    const auto events = query(at(2024, 3, 4), at(2024, 4, 2));
    EXPECT_EQ(starts(events, u"America/New_York"),
              (QStringList{QStringLiteral("2024-03-04 09:00"), QStringLiteral("2024-03-11 09:00"),
                           QStringLiteral("2024-03-18 09:00"), QStringLiteral("2024-03-25 09:00"),
                           QStringLiteral("2024-04-01 09:00")}));
    EXPECT_EQ(starts(events),
              (QStringList{QStringLiteral("2024-03-04 15:00"), QStringLiteral("2024-03-11 14:00"),
                           QStringLiteral("2024-03-18 14:00"), QStringLiteral("2024-03-25 14:00"),
                           QStringLiteral("2024-04-01 15:00")}));
    useZone(u"Asia/Tokyo");
    EXPECT_EQ(starts(query(ny(2024, 3, 4), ny(2024, 3, 12)), u"America/New_York"),
              (QStringList{QStringLiteral("2024-03-04 09:00"), QStringLiteral("2024-03-11 09:00")}));
}

TEST_F(RecurrenceExpansionTest, AllDayOccurrencesCoverExactlyTheirDayInTheZoneInForce) {
    auto event =
        newEvent(QStringLiteral("Holiday"), at(2024, 3, 30), at(2024, 3, 31), rule("FREQ=DAILY;COUNT=3"));
    event->setAllDay(true);
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, nullptr));
    // 31 March has 23 hours in Berlin.
    EXPECT_EQ(describe(query(at(2024, 3, 1), at(2024, 5, 1))),
              (QStringList{QStringLiteral("Holiday 2024-03-30 00:00 – 2024-03-31 00:00"),
                           QStringLiteral("Holiday 2024-03-31 00:00 – 2024-04-01 00:00"),
                           QStringLiteral("Holiday 2024-04-01 00:00 – 2024-04-02 00:00")}));
    // One day asked for gives that day's occurrence alone.
    EXPECT_EQ(describe(query(at(2024, 3, 31), at(2024, 4, 1).addingTimeInterval(-1))),
              (QStringList{QStringLiteral("Holiday 2024-03-31 00:00 – 2024-04-01 00:00")}));
    useZone(u"America/Los_Angeles");
    EXPECT_EQ(
        describe(query(local(u"America/Los_Angeles", 2024, 3, 31), local(u"America/Los_Angeles", 2024, 4, 1)),
                 u"America/Los_Angeles"),
        (QStringList{QStringLiteral("Holiday 2024-03-31 00:00 – 2024-04-01 00:00")}));
}

TEST_F(RecurrenceExpansionTest, ExpansionSeeksToTheRangeInsteadOfStartingFromTheFirstOccurrence) {
    saved(QStringLiteral("Daily"), at(1990, 1, 1, 8), at(1990, 1, 1, 9), rule("FREQ=DAILY"));
    saved(QStringLiteral("Last Friday"), at(1990, 1, 26, 12), at(1990, 1, 26, 13),
          rule("FREQ=MONTHLY;BYDAY=-1FR"));
    saved(QStringLiteral("Hourly"), at(1990, 1, 1, 0, 30), at(1990, 1, 1, 0, 45),
          rule("FREQ=HOURLY;INTERVAL=5"));
    const auto week = query(at(2030, 3, 25), at(2030, 4, 1));
    QStringList daily;
    QStringList friday;
    QStringList hourly;
    for (const auto& event : week) {
        (event->title() == QStringLiteral("Daily")    ? daily
         : event->title() == QStringLiteral("Hourly") ? hourly
                                                      : friday)
            .append(text(event->startDate()));
    }
    EXPECT_EQ(daily.size(), 7);
    EXPECT_EQ(daily.first(), QStringLiteral("2030-03-25 08:00"));
    EXPECT_EQ(friday, (QStringList{QStringLiteral("2030-03-29 12:00")}));
    // Every fifth hour of wall-clock time counted from 1990-01-01 00:30.
    ASSERT_EQ(hourly.size(), 33);
    EXPECT_EQ(hourly.first(), QStringLiteral("2030-03-25 03:30"));
}

TEST_F(RecurrenceExpansionTest, PathologicalRulesReturnPromptlyWithBoundedResults) {
    LogCapture log;
    saved(QStringLiteral("Huge count"), at(2020, 1, 1, 9), at(2020, 1, 1, 10),
          rule("FREQ=DAILY;COUNT=1000000000"));
    saved(QStringLiteral("Every second"), at(2020, 1, 1, 9), at(2020, 1, 1, 9), rule("FREQ=SECONDLY"));
    saved(QStringLiteral("Never"), at(2020, 1, 1, 9), at(2020, 1, 1, 10),
          rule("FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30"));
    saved(QStringLiteral("Never yearly"), at(2020, 1, 1, 9), at(2020, 1, 1, 10),
          rule("FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30;BYSETPOS=1"));
    saved(QStringLiteral("Rare"), at(2020, 1, 1, 9), at(2020, 1, 1, 10),
          rule("FREQ=MONTHLY;BYMONTHDAY=31;BYMONTH=4"));

    const auto week = query(at(2030, 3, 4), at(2030, 3, 11));
    int hugeCount = 0;
    int everySecond = 0;
    for (const auto& event : week) {
        hugeCount += event->title() == QStringLiteral("Huge count") ? 1 : 0;
        everySecond += event->title() == QStringLiteral("Every second") ? 1 : 0;
        EXPECT_FALSE(event->title().startsWith(QStringLiteral("Never")));
        EXPECT_NE(event->title(), QStringLiteral("Rare"));
    }
    EXPECT_EQ(hugeCount, 7);
    EXPECT_EQ(everySecond, 10000);
    EXPECT_TRUE(
        log.contains(Log::Level::Warning, QStringLiteral("eventstore"), QStringLiteral("Every second")));
}

TEST_F(RecurrenceExpansionTest, ExcludedOccurrencesAreLeftOut) {
    auto event = newEvent(QStringLiteral("Standup"), at(2024, 5, 6, 9), at(2024, 5, 6, 9, 15),
                          rule("FREQ=DAILY;COUNT=5"));
    event->setExcludedOccurrenceDates({at(2024, 5, 7, 9), at(2024, 5, 9, 9)});
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, nullptr));
    EXPECT_EQ(starts(query(at(2024, 5, 1), at(2024, 6, 1))),
              (QStringList{QStringLiteral("2024-05-06 09:00"), QStringLiteral("2024-05-08 09:00"),
                           QStringLiteral("2024-05-10 09:00")}));
}

// The day-by-day expansion of simple rules and the seeking of libical must give what libical gives
// when it iterates every rule from its first start.
TEST(RecurrenceSeriesTest, SeekingAndSimpleExpansionAgreeWithLibicalFromTheStart) {
    const char* rules[] = {
        "FREQ=DAILY",
        "FREQ=DAILY;INTERVAL=3",
        "FREQ=DAILY;BYDAY=MO,FR;INTERVAL=2",
        "FREQ=DAILY;BYMONTHDAY=1,15",
        "FREQ=WEEKLY",
        "FREQ=WEEKLY;INTERVAL=3;BYDAY=SU,WE",
        "FREQ=WEEKLY;INTERVAL=2;WKST=SU;BYDAY=TU,SU",
        "FREQ=WEEKLY;BYMONTH=1,7;BYDAY=TH",
        "FREQ=MONTHLY",
        "FREQ=MONTHLY;INTERVAL=5",
        "FREQ=MONTHLY;BYMONTHDAY=-1,15",
        "FREQ=MONTHLY;BYDAY=TU,SA;BYMONTHDAY=1,2,3,4,5,6,7",
        "FREQ=MONTHLY;BYDAY=2WE",
        "FREQ=MONTHLY;INTERVAL=2;BYDAY=-1SU",
        "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1,-1",
        "FREQ=YEARLY",
        "FREQ=YEARLY;INTERVAL=4",
        "FREQ=YEARLY;BYMONTH=3,10",
        "FREQ=YEARLY;BYMONTH=11;BYDAY=TH",
        "FREQ=YEARLY;BYMONTHDAY=13;BYDAY=FR",
        "FREQ=YEARLY;BYWEEKNO=1,52;BYDAY=MO",
        "FREQ=YEARLY;BYYEARDAY=-1,60",
        "FREQ=YEARLY;BYMONTH=11;BYDAY=4TH",
        "FREQ=DAILY;BYHOUR=9,17",
        "FREQ=HOURLY;INTERVAL=7",
        "FREQ=HOURLY;INTERVAL=5;BYDAY=SA",
        "FREQ=HOURLY;INTERVAL=3;BYMONTH=2;BYMONTHDAY=29",
        "FREQ=MINUTELY;INTERVAL=1441",
    };
    const std::int64_t starts[] = {
        825'552'000 + 9 * 3600,            // 1996-02-29
        980'899'200 + 23 * 3600 + 30 * 60, // 2001-01-31
        1'281'830'400,                     // 2010-08-15
    };
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::int64_t> offset(0, 30LL * 365 * 86400);
    std::uniform_int_distribution<std::int64_t> length(3600, 40LL * 86400);
    for (const char* text : rules) {
        for (const std::int64_t start : starts) {
            RecurrenceSeries::Definition definition;
            definition.rrule = QString::fromLatin1(text);
            definition.zone = QStringLiteral("UTC");
            definition.startWall = start;
            definition.duration = 3600;
            const std::optional<RecurrenceSeries> series = RecurrenceSeries::create(definition, nullptr);
            ASSERT_TRUE(series.has_value()) << text;

            // libical from the first start, without seeking.
            std::vector<std::int64_t> reference;
            const bool subDaily =
                QByteArray(text).contains("HOURLY") || QByteArray(text).contains("MINUTELY");
            const std::int64_t years = subDaily ? 3 : 30;
            const std::int64_t horizon = start + (years + 1) * 365 * 86400;
            {
                icalrecurrencetype recurrence = icalrecurrencetype_from_string(text);
                icaltimetype first = icaltime_from_timet_with_zone(static_cast<time_t>(start), 0, nullptr);
                icalrecur_iterator* iterator = icalrecur_iterator_new(recurrence, first);
                ASSERT_NE(iterator, nullptr);
                for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
                     next = icalrecur_iterator_next(iterator)) {
                    const std::int64_t wall = static_cast<std::int64_t>(icaltime_as_timet(next));
                    if (wall > horizon) {
                        break;
                    }
                    reference.push_back(wall);
                }
                icalrecur_iterator_free(iterator);
            }
            for (int round = 0; round < 12; ++round) {
                const std::int64_t low = start + offset(random) % (years * 365 * 86400);
                const std::int64_t high = low + length(random);
                std::vector<std::int64_t> expected;
                for (const std::int64_t wall : reference) {
                    if (wall >= low && wall <= high) {
                        expected.push_back(wall);
                    }
                }
                std::vector<std::int64_t> actual;
                series->generate(low, high, [&](std::int64_t wall) {
                    actual.push_back(wall);
                    return true;
                });
                ASSERT_EQ(actual, expected)
                    << text << " from " << start << " in [" << low << ", " << high << "]";
            }
        }
    }
}

// Sub-daily rules keep the phase of their interval counted from the first start when BYHOUR or
// BYMINUTE skip periods (libical 3.0.16 loses it), and expand BYMINUTE and BYSECOND in their period.
TEST(RecurrenceSeriesTest, SubDailyRulesKeepTheirPhase) {
    const auto expand = [](const char* text, const char* start, int count) {
        RecurrenceSeries::Definition definition;
        definition.rrule = QString::fromLatin1(text);
        definition.startWall = *WallClock::parseWall(QString::fromLatin1(start));
        const std::optional<RecurrenceSeries> series = RecurrenceSeries::create(definition, nullptr);
        QStringList walls;
        series->generate(definition.startWall, definition.startWall + 400 * 86400LL, [&](std::int64_t wall) {
            walls.append(WallClock::formatWall(wall));
            return walls.size() < count;
        });
        return walls.join(QLatin1Char(' '));
    };
    EXPECT_EQ(
        expand("FREQ=MINUTELY;INTERVAL=97;BYHOUR=8,9,10", "19960229T090000", 5),
        QStringLiteral("19960229T090000 19960229T103700 19960301T091500 19960301T105200 19960302T093000"));
    EXPECT_EQ(expand("FREQ=HOURLY;INTERVAL=2;BYMINUTE=15,45", "20240101T093000", 4),
              QStringLiteral("20240101T094500 20240101T111500 20240101T114500 20240101T131500"));
    EXPECT_EQ(expand("FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10,11,12,13,14,15,16", "19970902T090000", 4),
              QStringLiteral("19970902T090000 19970902T092000 19970902T094000 19970902T100000"));
    EXPECT_EQ(expand("FREQ=SECONDLY;INTERVAL=7;BYSECOND=0", "20240101T000000", 3),
              QStringLiteral("20240101T000000 20240101T000700 20240101T001400"));
    EXPECT_EQ(expand("FREQ=HOURLY;UNTIL=20240101T120000", "20240101T093000", 10),
              QStringLiteral("20240101T093000 20240101T103000 20240101T113000"));
}

} // namespace

TEST_F(RecurrenceExpansionTest, WeekNumbersOnlyInYearsThatHaveThem) {
    // Week 53 exists in 2015, 2020 and 2026 (ISO weeks); libical alone also yields the Monday of
    // the next year's week 1 in the years between.
    EXPECT_EQ(expand("FREQ=YEARLY;BYWEEKNO=53;BYDAY=MO", ny(2015, 12, 28, 9), ny(2015, 1, 1), ny(2027, 1, 1)),
              at9({"2015-12-28", "2020-12-28", "2026-12-28"}));
    EXPECT_EQ(expand("FREQ=YEARLY;BYWEEKNO=-1;BYDAY=TH", ny(2019, 12, 26, 9), ny(2019, 1, 1), ny(2021, 1, 1)),
              at9({"2019-12-26", "2020-12-31"}));
    EXPECT_EQ(expand("FREQ=YEARLY;BYWEEKNO=1;BYDAY=MO", ny(2019, 12, 30, 9), ny(2019, 1, 1), ny(2021, 1, 1)),
              at9({"2019-12-30"}));
}

// RFC 7529: yearly rules in other calendars give the days ICU's calendars give; SKIP says where a
// day a month lacks goes. (libical's Korean calendar puts New Year 2028 a day after ICU's, so it is
// not among them.)
TEST_F(RecurrenceExpansionTest, RulesOfOtherCalendarsFollowIcusCalendars) {
    for (const char* scale : {"CHINESE", "HEBREW", "ISLAMIC-CIVIL", "ISLAMIC-UMALQURA", "PERSIAN", "INDIAN",
                              "COPTIC", "ETHIOPIC", "BUDDHIST", "JAPANESE", "ROC"}) {
        // The first day of the calendar's year after mid-2024, and four more New Year's days.
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
            icu::TimeZone::createTimeZone("America/New_York"),
            icu::Locale((QByteArrayLiteral("en@calendar=") + QByteArray(scale).toLower()).constData()),
            status));
        ASSERT_TRUE(U_SUCCESS(status)) << scale;
        calendar->setTime(ny(2024, 6, 1).udate(), status);
        calendar->add(UCAL_YEAR, 1, status);
        calendar->set(UCAL_MONTH, 0);
        calendar->set(UCAL_DATE, 1);
        calendar->set(UCAL_IS_LEAP_MONTH, 0);
        calendar->set(UCAL_HOUR_OF_DAY, 9);
        calendar->set(UCAL_MINUTE, 0);
        calendar->set(UCAL_SECOND, 0);
        calendar->set(UCAL_MILLISECOND, 0);
        const Date first = Date::withUDate(calendar->getTime(status));
        QStringList expected;
        for (int year = 0; year < 5; ++year) {
            expected.append(text(Date::withUDate(calendar->getTime(status)), u"America/New_York"));
            calendar->add(UCAL_YEAR, 1, status);
        }
        ASSERT_TRUE(U_SUCCESS(status)) << scale;
        const QByteArray rrule =
            QByteArrayLiteral("RSCALE=") + scale + ";FREQ=YEARLY;BYMONTH=1;BYMONTHDAY=1;COUNT=5";
        EXPECT_EQ(expand(rrule.constData(), first, first, ny(2034, 1, 1)), expected) << scale;
    }
    // A month's 31st goes to the next day in shorter months, or to their last.
    EXPECT_EQ(expand("RSCALE=GREGORIAN;FREQ=MONTHLY;COUNT=4;SKIP=FORWARD", ny(2025, 1, 31, 9), ny(2025, 1, 1),
                     ny(2026, 1, 1)),
              at9({"2025-01-31", "2025-03-01", "2025-03-31", "2025-05-01"}));
    EXPECT_EQ(expand("RSCALE=GREGORIAN;FREQ=YEARLY;COUNT=2;SKIP=BACKWARD", ny(2024, 2, 29, 9), ny(2024, 1, 1),
                     ny(2026, 1, 1)),
              at9({"2024-02-29", "2025-02-28"}));
}
