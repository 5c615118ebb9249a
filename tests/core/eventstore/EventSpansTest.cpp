#include "EventStoreTestSupport.h"

namespace {

class EventSpansTest : public EventStoreTest {
protected:
    // The occurrence of the series that starts on that day.
    std::shared_ptr<EKEvent> occurrenceOn(const std::shared_ptr<EKEvent>& series, int year, int month,
                                          int day) {
        for (const auto& event : query(at(year, month, day), at(year, month, day + 1))) {
            if (event->eventIdentifier() == series->eventIdentifier()) {
                return event;
            }
        }
        ADD_FAILURE() << "no occurrence on " << year << "-" << month << "-" << day;
        return nullptr;
    }

    QStringList may() { return describe(query(at(2024, 5, 1), at(2024, 6, 1))); }

    std::shared_ptr<EKEvent> standup(const char* rrule = "FREQ=DAILY;COUNT=5") {
        return saved(QStringLiteral("Standup"), at(2024, 5, 6, 9), at(2024, 5, 6, 9, 15), rule(rrule));
    }
};

TEST_F(EventSpansTest, ChangingOneOccurrenceLeavesTheOthersAlone) {
    auto series = standup();
    auto third = occurrenceOn(series, 2024, 5, 8);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->occurrenceDate(), at(2024, 5, 8, 9));
    EXPECT_FALSE(third->isDetached());
    third->setTitle(QStringLiteral("Standup (late)"));
    third->setStartDate(at(2024, 5, 8, 14));
    third->setEndDate(at(2024, 5, 8, 14, 15));
    StoreError error;
    ASSERT_TRUE(store().saveEvent(third, EKSpan::ThisEvent, &error))
        << error.localizedDescription.toStdString();
    EXPECT_TRUE(third->isDetached());
    EXPECT_EQ(third->eventIdentifier(), series->eventIdentifier());

    const QStringList expected = {QStringLiteral("Standup 2024-05-06 09:00 – 2024-05-06 09:15"),
                                  QStringLiteral("Standup 2024-05-07 09:00 – 2024-05-07 09:15"),
                                  QStringLiteral("Standup (late) 2024-05-08 14:00 – 2024-05-08 14:15"),
                                  QStringLiteral("Standup 2024-05-09 09:00 – 2024-05-09 09:15"),
                                  QStringLiteral("Standup 2024-05-10 09:00 – 2024-05-10 09:15")};
    EXPECT_EQ(may(), expected);
    reopen();
    EXPECT_EQ(may(), expected);

    auto changed = occurrenceOn(series, 2024, 5, 8);
    ASSERT_TRUE(changed);
    EXPECT_TRUE(changed->isDetached());
    EXPECT_EQ(changed->occurrenceDate(), at(2024, 5, 8, 9));
    EXPECT_TRUE(changed->hasRecurrenceRules());
    EXPECT_TRUE(changed->isEqual(*third));

    // Changed again, and moved to another day: the original day stays free.
    changed->setStartDate(at(2024, 5, 12, 10));
    changed->setEndDate(at(2024, 5, 12, 11));
    ASSERT_TRUE(store().saveEvent(changed, EKSpan::ThisEvent, nullptr));
    EXPECT_EQ(describe(query(at(2024, 5, 8), at(2024, 5, 9))), QStringList());
    EXPECT_EQ(describe(query(at(2024, 5, 12), at(2024, 5, 13))),
              (QStringList{QStringLiteral("Standup (late) 2024-05-12 10:00 – 2024-05-12 11:00")}));
    EXPECT_EQ(query(at(2024, 5, 1), at(2024, 6, 1)).size(), 5u);
}

TEST_F(EventSpansTest, TheFirstOccurrenceIsFoundByIdentifierEvenWhenChanged) {
    auto series = standup();
    auto found = store().eventWithIdentifier(series->eventIdentifier());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->startDate(), at(2024, 5, 6, 9));
    EXPECT_EQ(found->occurrenceDate(), at(2024, 5, 6, 9));
    EXPECT_TRUE(found->hasRecurrenceRules());

    found->setTitle(QStringLiteral("Kick-off"));
    ASSERT_TRUE(store().saveEvent(found, EKSpan::ThisEvent, nullptr));
    auto again = store().eventWithIdentifier(series->eventIdentifier());
    EXPECT_EQ(again->title(), QStringLiteral("Kick-off"));
    EXPECT_TRUE(again->isDetached());

    ASSERT_TRUE(store().removeEvent(again, EKSpan::ThisEvent, nullptr));
    again = store().eventWithIdentifier(series->eventIdentifier());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->startDate(), at(2024, 5, 7, 9));
    EXPECT_EQ(again->title(), QStringLiteral("Standup"));
}

TEST_F(EventSpansTest, ChangingThisAndFutureOccurrencesSplitsTheSeries) {
    auto series = standup("FREQ=DAILY;COUNT=10");
    auto fourth = occurrenceOn(series, 2024, 5, 9);
    fourth->setTitle(QStringLiteral("Sync"));
    fourth->setStartDate(at(2024, 5, 9, 10));
    fourth->setEndDate(at(2024, 5, 9, 10, 30));
    StoreError error;
    ASSERT_TRUE(store().saveEvent(fourth, EKSpan::FutureEvents, &error))
        << error.localizedDescription.toStdString();
    EXPECT_NE(fourth->eventIdentifier(), series->eventIdentifier());
    EXPECT_FALSE(fourth->isDetached());

    const auto events = query(at(2024, 5, 1), at(2024, 6, 1));
    ASSERT_EQ(events.size(), 10u);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const bool before = i < 3;
        EXPECT_EQ(events[i]->title(), before ? QStringLiteral("Standup") : QStringLiteral("Sync"));
        EXPECT_EQ(events[i]->eventIdentifier(),
                  before ? series->eventIdentifier() : fourth->eventIdentifier());
        EXPECT_EQ(text(events[i]->startDate()).mid(11),
                  before ? QStringLiteral("09:00") : QStringLiteral("10:00"));
    }
    EXPECT_EQ(text(events.back()->startDate()), QStringLiteral("2024-05-15 10:00"));
    // The old series ends before the cut: its rule says so.
    const auto first = store().eventWithIdentifier(series->eventIdentifier());
    ASSERT_TRUE(first->recurrenceRule());
    EXPECT_TRUE(first->recurrenceRule()->rrule().contains(QStringLiteral("UNTIL=")));
    EXPECT_FALSE(first->recurrenceRule()->rrule().contains(QStringLiteral("COUNT=")));
    const auto next = store().eventWithIdentifier(fourth->eventIdentifier());
    ASSERT_TRUE(next->recurrenceRule());
    EXPECT_EQ(next->recurrenceRule()->recurrenceEnd()->occurrenceCount(), 7);
}

TEST_F(EventSpansTest, ChangedAndExcludedOccurrencesAfterACutMoveToTheNewSeries) {
    auto series = standup("FREQ=WEEKLY");
    auto moved = occurrenceOn(series, 2024, 5, 27);
    moved->setTitle(QStringLiteral("Moved"));
    moved->setStartDate(at(2024, 5, 28, 9));
    moved->setEndDate(at(2024, 5, 28, 10));
    ASSERT_TRUE(store().saveEvent(moved, EKSpan::ThisEvent, nullptr));
    ASSERT_TRUE(store().removeEvent(occurrenceOn(series, 2024, 5, 20), EKSpan::ThisEvent, nullptr));
    ASSERT_TRUE(store().removeEvent(occurrenceOn(series, 2024, 5, 6), EKSpan::ThisEvent, nullptr));

    // From 13 May on, an hour later.
    auto cut = occurrenceOn(series, 2024, 5, 13);
    cut->setStartDate(at(2024, 5, 13, 10));
    cut->setEndDate(at(2024, 5, 13, 10, 15));
    ASSERT_TRUE(store().saveEvent(cut, EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(describe(query(at(2024, 5, 1), at(2024, 6, 5))),
              (QStringList{QStringLiteral("Standup 2024-05-13 10:00 – 2024-05-13 10:15"),
                           QStringLiteral("Moved 2024-05-28 09:00 – 2024-05-28 10:00"),
                           QStringLiteral("Standup 2024-06-03 10:00 – 2024-06-03 10:15")}));
    const auto june = query(at(2024, 5, 28), at(2024, 5, 29));
    ASSERT_EQ(june.size(), 1u);
    EXPECT_EQ(june[0]->eventIdentifier(), cut->eventIdentifier());
    EXPECT_TRUE(june[0]->isDetached());
    EXPECT_EQ(june[0]->occurrenceDate(), at(2024, 5, 27, 10));
}

TEST_F(EventSpansTest, ChangingTheFirstOccurrenceAndTheFutureChangesTheWholeSeries) {
    auto series = standup();
    auto first = occurrenceOn(series, 2024, 5, 6);
    first->setTitle(QStringLiteral("Daily"));
    first->setStartDate(at(2024, 5, 6, 8, 30));
    first->setEndDate(at(2024, 5, 6, 8, 45));
    ASSERT_TRUE(store().saveEvent(first, EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(first->eventIdentifier(), series->eventIdentifier());
    const auto events = query(at(2024, 5, 1), at(2024, 6, 1));
    ASSERT_EQ(events.size(), 5u);
    for (const auto& event : events) {
        EXPECT_EQ(event->title(), QStringLiteral("Daily"));
        EXPECT_EQ(text(event->startDate()).mid(11), QStringLiteral("08:30"));
    }
}

TEST_F(EventSpansTest, AChangedRuleAppliesFromTheOccurrenceOnEvenWithThisEvent) {
    auto series = standup("FREQ=DAILY");
    auto third = occurrenceOn(series, 2024, 5, 8);
    third->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Weekly, 1, std::nullopt));
    ASSERT_TRUE(store().saveEvent(third, EKSpan::ThisEvent, nullptr));
    EXPECT_EQ(starts(query(at(2024, 5, 1), at(2024, 5, 23))),
              (QStringList{QStringLiteral("2024-05-06 09:00"), QStringLiteral("2024-05-07 09:00"),
                           QStringLiteral("2024-05-08 09:00"), QStringLiteral("2024-05-15 09:00"),
                           QStringLiteral("2024-05-22 09:00")}));

    // No rule any more: the series ends and the occurrence stays as a single event.
    const auto day = query(at(2024, 5, 15), at(2024, 5, 16));
    ASSERT_EQ(day.size(), 1u);
    auto fifteenth = day[0];
    EXPECT_NE(fifteenth->eventIdentifier(), series->eventIdentifier());
    fifteenth->setRecurrenceRule(std::nullopt);
    ASSERT_TRUE(store().saveEvent(fifteenth, EKSpan::FutureEvents, nullptr));
    EXPECT_FALSE(fifteenth->hasRecurrenceRules());
    EXPECT_FALSE(fifteenth->occurrenceDate().has_value());
    EXPECT_EQ(starts(query(at(2024, 5, 1), at(2024, 6, 1))),
              (QStringList{QStringLiteral("2024-05-06 09:00"), QStringLiteral("2024-05-07 09:00"),
                           QStringLiteral("2024-05-08 09:00"), QStringLiteral("2024-05-15 09:00")}));
}

TEST_F(EventSpansTest, RemovingOneOccurrenceOrAChangedOne) {
    auto series = standup();
    ASSERT_TRUE(store().removeEvent(occurrenceOn(series, 2024, 5, 7), EKSpan::ThisEvent, nullptr));
    auto ninth = occurrenceOn(series, 2024, 5, 9);
    ninth->setStartDate(at(2024, 5, 9, 16));
    ninth->setEndDate(at(2024, 5, 9, 17));
    ASSERT_TRUE(store().saveEvent(ninth, EKSpan::ThisEvent, nullptr));
    auto changed = occurrenceOn(series, 2024, 5, 9);
    ASSERT_TRUE(changed->isDetached());
    ASSERT_TRUE(store().removeEvent(changed, EKSpan::ThisEvent, nullptr));
    EXPECT_EQ(starts(query(at(2024, 5, 1), at(2024, 6, 1))),
              (QStringList{QStringLiteral("2024-05-06 09:00"), QStringLiteral("2024-05-08 09:00"),
                           QStringLiteral("2024-05-10 09:00")}));
    reopen();
    EXPECT_EQ(query(at(2024, 5, 1), at(2024, 6, 1)).size(), 3u);
}

TEST_F(EventSpansTest, RemovingThisAndFutureOccurrencesEndsTheSeries) {
    auto series = standup("FREQ=DAILY");
    auto changed = occurrenceOn(series, 2024, 5, 12);
    changed->setTitle(QStringLiteral("Changed"));
    ASSERT_TRUE(store().saveEvent(changed, EKSpan::ThisEvent, nullptr));
    ASSERT_TRUE(store().removeEvent(occurrenceOn(series, 2024, 5, 9), EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(starts(query(at(2024, 5, 1), at(2025, 1, 1))),
              (QStringList{QStringLiteral("2024-05-06 09:00"), QStringLiteral("2024-05-07 09:00"),
                           QStringLiteral("2024-05-08 09:00")}));
}

TEST_F(EventSpansTest, RemovingTheFirstOccurrenceAndTheFutureRemovesTheSeries) {
    auto series = standup("FREQ=DAILY");
    auto changed = occurrenceOn(series, 2024, 5, 12);
    changed->setTitle(QStringLiteral("Changed"));
    ASSERT_TRUE(store().saveEvent(changed, EKSpan::ThisEvent, nullptr));
    ASSERT_TRUE(store().removeEvent(occurrenceOn(series, 2024, 5, 6), EKSpan::FutureEvents, nullptr));
    EXPECT_TRUE(query(at(2024, 5, 1), at(2025, 1, 1)).empty());
    EXPECT_FALSE(store().eventWithIdentifier(series->eventIdentifier()));
}

TEST_F(EventSpansTest, SingleEventsIgnoreTheSpan) {
    auto single = saved(QStringLiteral("Once"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    single->setTitle(QStringLiteral("Once more"));
    ASSERT_TRUE(store().saveEvent(single, EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(store().eventWithIdentifier(single->eventIdentifier())->title(), QStringLiteral("Once more"));
    ASSERT_TRUE(store().removeEvent(single, EKSpan::ThisEvent, nullptr));
    EXPECT_FALSE(store().eventWithIdentifier(single->eventIdentifier()));
}

TEST_F(EventSpansTest, ASingleEventBecomesASeriesAndBack) {
    auto event = saved(QStringLiteral("Yoga"), at(2024, 5, 6, 18), at(2024, 5, 6, 19));
    event->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Weekly, 1,
                                              EKRecurrenceEnd::recurrenceEndWithOccurrenceCount(3)));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, nullptr));
    EXPECT_EQ(query(at(2024, 5, 1), at(2024, 7, 1)).size(), 3u);
    auto first = store().eventWithIdentifier(event->eventIdentifier());
    first->setRecurrenceRule(std::nullopt);
    ASSERT_TRUE(store().saveEvent(first, EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(describe(query(at(2024, 5, 1), at(2024, 7, 1))),
              (QStringList{QStringLiteral("Yoga 2024-05-06 18:00 – 2024-05-06 19:00")}));
}

TEST_F(EventSpansTest, MovingAnOccurrenceToAnotherCalendarMovesItsSeries) {
    auto series = standup();
    auto other = EKCalendar::calendarWithEventStore(store());
    other->setTitle(QStringLiteral("Other"));
    ASSERT_TRUE(store().saveCalendar(other, true, nullptr));
    auto third = occurrenceOn(series, 2024, 5, 8);
    third->setCalendar(other);
    third->setTitle(QStringLiteral("Elsewhere"));
    ASSERT_TRUE(store().saveEvent(third, EKSpan::ThisEvent, nullptr));
    const auto inOther =
        store().eventsMatchingPredicate(store().predicateForEvents(at(2024, 5, 1), at(2024, 6, 1), {other}));
    EXPECT_EQ(inOther.size(), 5u);
    EXPECT_TRUE(store()
                    .eventsMatchingPredicate(
                        store().predicateForEvents(at(2024, 5, 1), at(2024, 6, 1), {defaultCalendar()}))
                    .empty());
}

} // namespace

TEST_F(EventSpansTest, AKeptWriteIsTakenBackExactlyOnceAndNotOverALaterChange) {
    auto series = standup();
    auto third = occurrenceOn(series, 2024, 5, 8);
    third->setTitle(QStringLiteral("Standup (late)"));
    ASSERT_TRUE(store().saveEvent(third, EKSpan::ThisEvent, nullptr));
    const QStringList before = may();
    EXPECT_FALSE(store().canUndo());

    // This and the following occurrences go, the changed one and its exception with them.
    ASSERT_TRUE(
        store().removeEvent(occurrenceOn(series, 2024, 5, 7), EKSpan::FutureEvents, nullptr, EKUndo::Kept));
    EXPECT_EQ(may().size(), 1);
    ASSERT_TRUE(store().canUndo());
    StoreError error;
    ASSERT_TRUE(store().undo(&error)) << error.localizedDescription.toStdString();
    EXPECT_FALSE(store().canUndo());
    EXPECT_EQ(may(), before);
    reopen();
    EXPECT_EQ(may(), before);
    EXPECT_TRUE(occurrenceOn(series, 2024, 5, 8)->isDetached());

    // A move changed again afterwards is not taken back over the later change.
    auto first = occurrenceOn(series, 2024, 5, 6);
    first->setStartDate(at(2024, 5, 6, 11));
    first->setEndDate(at(2024, 5, 6, 11, 15));
    ASSERT_TRUE(store().saveEvent(first, EKSpan::ThisEvent, nullptr, EKUndo::Kept));
    auto moved = occurrenceOn(series, 2024, 5, 6);
    moved->setTitle(QStringLiteral("Standup (moved)"));
    ASSERT_TRUE(store().saveEvent(moved, EKSpan::ThisEvent, nullptr));
    const QStringList changed = may();
    EXPECT_FALSE(store().undo(&error));
    EXPECT_FALSE(error.localizedDescription.isEmpty());
    EXPECT_EQ(may(), changed);
}
