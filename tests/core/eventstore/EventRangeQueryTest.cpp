#include "EventStoreTestSupport.h"

namespace {

using EventRangeQueryTest = EventStoreTest;

TEST_F(EventRangeQueryTest, EventsOverlappingTheRangeAreFoundAndTouchingOnesAreNot) {
    saved(QStringLiteral("inside"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    saved(QStringLiteral("over the start"), at(2024, 5, 5, 23), at(2024, 5, 6, 1));
    saved(QStringLiteral("over the end"), at(2024, 5, 6, 23), at(2024, 5, 7, 1));
    saved(QStringLiteral("around"), at(2024, 5, 1), at(2024, 5, 20));
    saved(QStringLiteral("ends at the start"), at(2024, 5, 5, 22), at(2024, 5, 6));
    saved(QStringLiteral("starts at the end"), at(2024, 5, 7), at(2024, 5, 7, 1));
    saved(QStringLiteral("zero at the start"), at(2024, 5, 6), at(2024, 5, 6));
    saved(QStringLiteral("zero inside"), at(2024, 5, 6, 12), at(2024, 5, 6, 12));
    saved(QStringLiteral("zero at the end"), at(2024, 5, 7), at(2024, 5, 7));
    saved(QStringLiteral("day before"), at(2024, 5, 5, 9), at(2024, 5, 5, 10));
    saved(QStringLiteral("long before"), at(2023, 5, 5, 9), at(2023, 6, 5, 10));

    QStringList titles;
    for (const auto& event : query(at(2024, 5, 6), at(2024, 5, 7))) {
        titles.append(event->title());
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("around"), QStringLiteral("inside"),
                                   QStringLiteral("over the end"), QStringLiteral("over the start"),
                                   QStringLiteral("zero at the start"), QStringLiteral("zero inside")}));
}

TEST_F(EventRangeQueryTest, MultiDayAndLongEventsAreFoundOnTheirMiddleDays) {
    saved(QStringLiteral("three days"), at(2024, 5, 6, 9), at(2024, 5, 9, 9));
    saved(QStringLiteral("two weeks"), at(2024, 4, 29, 8), at(2024, 5, 13, 8));
    saved(QStringLiteral("a year"), at(2023, 11, 1), at(2024, 11, 1));
    EXPECT_EQ(query(at(2024, 5, 8), at(2024, 5, 8, 12)).size(), 3u);
    EXPECT_EQ(query(at(2024, 5, 12), at(2024, 5, 13)).size(), 2u);
    EXPECT_EQ(query(at(2024, 10, 1), at(2024, 10, 2)).size(), 1u);
}

TEST_F(EventRangeQueryTest, AnAllDayEventCoversExactlyItsDays) {
    auto day = newEvent(QStringLiteral("Holiday"), at(2024, 5, 9, 15), at(2024, 5, 9, 16));
    day->setAllDay(true);
    ASSERT_TRUE(store().saveEvent(day, EKSpan::ThisEvent, nullptr));
    // Saving makes the dates whole days.
    EXPECT_EQ(day->startDate(), at(2024, 5, 9));
    EXPECT_EQ(day->endDate(), at(2024, 5, 10));

    auto trip = newEvent(QStringLiteral("Trip"), at(2024, 5, 20), at(2024, 5, 23));
    trip->setAllDay(true);
    ASSERT_TRUE(store().saveEvent(trip, EKSpan::ThisEvent, nullptr));

    EXPECT_EQ(describe(query(at(2024, 5, 9), at(2024, 5, 10).addingTimeInterval(-1))),
              (QStringList{QStringLiteral("Holiday 2024-05-09 00:00 – 2024-05-10 00:00")}));
    EXPECT_TRUE(query(at(2024, 5, 10), at(2024, 5, 11)).empty());
    EXPECT_TRUE(query(at(2024, 5, 8), at(2024, 5, 9)).empty());
    EXPECT_EQ(describe(query(at(2024, 5, 22), at(2024, 5, 23))),
              (QStringList{QStringLiteral("Trip 2024-05-20 00:00 – 2024-05-23 00:00")}));
    EXPECT_TRUE(query(at(2024, 5, 23), at(2024, 5, 24)).empty());

    // All-day events are dates: in another zone they are the same dates.
    useZone(u"Pacific/Auckland");
    const auto found = store().eventWithIdentifier(day->eventIdentifier());
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->allDay());
    EXPECT_EQ(text(found->startDate(), u"Pacific/Auckland"), QStringLiteral("2024-05-09 00:00"));
    EXPECT_EQ(text(found->endDate(), u"Pacific/Auckland"), QStringLiteral("2024-05-10 00:00"));
    EXPECT_EQ(
        query(local(u"Pacific/Auckland", 2024, 5, 9, 12), local(u"Pacific/Auckland", 2024, 5, 9, 13)).size(),
        1u);
    useZone(u"America/Los_Angeles");
    EXPECT_EQ(
        describe(query(local(u"America/Los_Angeles", 2024, 5, 9), local(u"America/Los_Angeles", 2024, 5, 10)),
                 u"America/Los_Angeles"),
        (QStringList{QStringLiteral("Holiday 2024-05-09 00:00 – 2024-05-10 00:00")}));
}

TEST_F(EventRangeQueryTest, AnOccurrenceThatBeganBeforeTheRangeIsFound) {
    saved(QStringLiteral("Night shift"), at(2024, 5, 1, 22), at(2024, 5, 2, 6), rule("FREQ=DAILY"));
    EXPECT_EQ(describe(query(at(2024, 5, 10, 3), at(2024, 5, 10, 4))),
              (QStringList{QStringLiteral("Night shift 2024-05-09 22:00 – 2024-05-10 06:00")}));
    EXPECT_TRUE(query(at(2024, 5, 1), at(2024, 5, 1, 22)).empty());
}

TEST_F(EventRangeQueryTest, OnlyTheCalendarsAskedForAreSearched) {
    auto other = EKCalendar::calendarWithEventStore(store());
    other->setTitle(QStringLiteral("Other"));
    ASSERT_TRUE(store().saveCalendar(other, true, nullptr));
    saved(QStringLiteral("mine"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    auto theirs =
        newEvent(QStringLiteral("theirs"), at(2024, 5, 6, 11), at(2024, 5, 6, 12), rule("FREQ=DAILY"));
    theirs->setCalendar(other);
    ASSERT_TRUE(store().saveEvent(theirs, EKSpan::ThisEvent, nullptr));
    const auto found =
        store().eventsMatchingPredicate(store().predicateForEvents(at(2024, 5, 6), at(2024, 5, 7), {other}));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->title(), QStringLiteral("theirs"));
    EXPECT_EQ(found[0]->calendar()->title(), QStringLiteral("Other"));
    EXPECT_EQ(query(at(2024, 5, 6), at(2024, 5, 7)).size(), 2u);
}

TEST_F(EventRangeQueryTest, RecordsListSingleEventsSeriesAndChangedOccurrences) {
    auto single = saved(QStringLiteral("Single"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    auto series =
        newEvent(QStringLiteral("Series"), at(2024, 5, 6, 9), at(2024, 5, 6, 10), rule("FREQ=DAILY;COUNT=4"));
    series->setExcludedOccurrenceDates({at(2024, 5, 8, 9)});
    ASSERT_TRUE(store().saveEvent(series, EKSpan::ThisEvent, nullptr));
    auto changed = query(at(2024, 5, 9), at(2024, 5, 10));
    ASSERT_EQ(changed.size(), 1u);
    changed[0]->setTitle(QStringLiteral("Changed"));
    ASSERT_TRUE(store().saveEvent(changed[0], EKSpan::ThisEvent, nullptr));

    const auto records = store().eventRecords(defaultCalendar());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]->title(), QStringLiteral("Series"));
    EXPECT_TRUE(records[0]->hasRecurrenceRules());
    EXPECT_FALSE(records[0]->occurrenceDate().has_value());
    EXPECT_EQ(records[0]->startDate(), at(2024, 5, 6, 9));
    EXPECT_EQ(records[0]->endDate(), at(2024, 5, 6, 10));
    EXPECT_EQ(records[0]->excludedOccurrenceDates(), (std::vector<Date>{at(2024, 5, 8, 9)}));
    EXPECT_EQ(records[1]->title(), QStringLiteral("Single"));
    EXPECT_EQ(records[2]->title(), QStringLiteral("Changed"));
    EXPECT_EQ(records[2]->eventIdentifier(), series->eventIdentifier());
    EXPECT_EQ(records[2]->occurrenceDate(), at(2024, 5, 9, 9));

    // Saved again in bulk they give the same occurrences.
    const auto before = describe(query(at(2024, 5, 1), at(2024, 6, 1)));
    ASSERT_TRUE(store().saveEvents(records, nullptr));
    EXPECT_EQ(describe(query(at(2024, 5, 1), at(2024, 6, 1))), before);
    EXPECT_EQ(store().eventRecords(defaultCalendar()).size(), 3u);
    Q_UNUSED(single);
}

TEST_F(EventRangeQueryTest, BulkSavesKeepIdentifiersAndRefuseBadRecordsWhole) {
    auto first = newEvent(QStringLiteral("One"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    first->setEventIdentifier(QStringLiteral("uid-1@example.org"));
    auto second = newEvent(QStringLiteral("Two"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    second->setEventIdentifier(QStringLiteral("uid-2@example.org"));
    ASSERT_TRUE(store().saveEvents({first, second}, nullptr));
    EXPECT_EQ(store().eventWithIdentifier(QStringLiteral("uid-1@example.org"))->title(),
              QStringLiteral("One"));

    auto replacement = newEvent(QStringLiteral("One again"), at(2024, 5, 6, 11), at(2024, 5, 6, 12));
    replacement->setEventIdentifier(QStringLiteral("uid-1@example.org"));
    auto bad = newEvent(QStringLiteral("Bad"), at(2024, 5, 8, 10), at(2024, 5, 8, 9));
    StoreError error;
    EXPECT_FALSE(store().saveEvents({replacement, bad}, &error));
    EXPECT_EQ(error.code, StoreError::InvalidDates);
    EXPECT_EQ(store().eventWithIdentifier(QStringLiteral("uid-1@example.org"))->title(),
              QStringLiteral("One"));

    ASSERT_TRUE(store().saveEvents({replacement}, nullptr));
    EXPECT_EQ(describe(query(at(2024, 5, 6), at(2024, 5, 7))),
              (QStringList{QStringLiteral("One again 2024-05-06 11:00 – 2024-05-06 12:00")}));
}

} // namespace
