#include "EventStoreTestSupport.h"

namespace {

// Edits of repeating events that once lost or doubled occurrences. Every check reads through a
// second store opened on the same file, as another process would.
class EventSeriesFaultsTest : public EventStoreTest {
protected:
    // The occurrence of the series that starts on that day in the zone.
    std::shared_ptr<EKEvent> occurrenceOn(const std::shared_ptr<EKEvent>& series, int year, int month,
                                          int day, const char16_t* zone = u"Europe/Berlin") {
        for (const auto& event : query(local(zone, year, month, day), local(zone, year, month, day + 1))) {
            if (event->eventIdentifier() == series->eventIdentifier() &&
                text(event->startDate(), zone)
                    .startsWith(QString::asprintf("%04d-%02d-%02d", year, month, day))) {
                return event;
            }
        }
        ADD_FAILURE() << "no occurrence on " << year << "-" << month << "-" << day;
        return nullptr;
    }

    // "title start – end" of every event a second store reads in the range, sorted by start, one
    // per line.
    std::string reread(Date start, Date end, const char16_t* zone = u"Europe/Berlin") {
        EKEventStore other(databasePath());
        auto events = other.eventsMatchingPredicate(other.predicateForEvents(start, end, other.calendars()));
        std::stable_sort(events.begin(), events.end(),
                         [](const auto& a, const auto& b) { return a->startDate() < b->startDate(); });
        return lines(describe(events, zone));
    }

    static std::string lines(const QStringList& list) { return list.join(QLatin1Char('\n')).toStdString(); }

    // Daily at 09:00 from Monday, 6 May 2024.
    std::shared_ptr<EKEvent> standup(const char* rrule = "FREQ=DAILY") {
        return saved(QStringLiteral("Standup"), at(2024, 5, 6, 9), at(2024, 5, 6, 9, 15), rule(rrule));
    }

    static QString line(const char* title, int day, const char* from = "09:00", const char* to = "09:15") {
        return QString::asprintf("%s 2024-05-%02d %s – 2024-05-%02d %s", title, day, from, day, to);
    }

    void save(const std::shared_ptr<EKEvent>& event, EKSpan span) {
        ASSERT_TRUE(event);
        StoreError error;
        ASSERT_TRUE(store().saveEvent(event, span, &error)) << error.localizedDescription.toStdString();
    }

    void remove(const std::shared_ptr<EKEvent>& event, EKSpan span) {
        ASSERT_TRUE(event);
        StoreError error;
        ASSERT_TRUE(store().removeEvent(event, span, &error)) << error.localizedDescription.toStdString();
    }
};

TEST_F(EventSeriesFaultsTest, SavingOneOccurrenceWithoutRepetitionChangesOnlyThatOccurrence) {
    auto series = standup("FREQ=DAILY;COUNT=8");
    auto later = occurrenceOn(series, 2024, 5, 11);
    later->setTitle(QStringLiteral("Later"));
    save(later, EKSpan::ThisEvent);

    auto third = occurrenceOn(series, 2024, 5, 8);
    third->setTitle(QStringLiteral("Alone"));
    third->setRecurrenceRule(std::nullopt);
    save(third, EKSpan::ThisEvent);
    EXPECT_TRUE(third->isDetached());
    EXPECT_EQ(third->eventIdentifier(), series->eventIdentifier());
    EXPECT_FALSE(third->hasRecurrenceRules());

    EXPECT_EQ(reread(at(2024, 5, 1), at(2024, 6, 1)),
              lines({line("Standup", 6), line("Standup", 7), line("Alone", 8), line("Standup", 9),
                     line("Standup", 10), line("Later", 11), line("Standup", 12), line("Standup", 13)}));
    auto alone = occurrenceOn(series, 2024, 5, 8);
    ASSERT_TRUE(alone);
    EXPECT_TRUE(alone->isDetached());
    EXPECT_EQ(alone->occurrenceDate(), at(2024, 5, 8, 9));
}

TEST_F(EventSeriesFaultsTest, AChangedRuleKeepsTheExceptionsItStillHolds) {
    auto series = standup();
    remove(occurrenceOn(series, 2024, 5, 10), EKSpan::ThisEvent);
    auto moved = occurrenceOn(series, 2024, 5, 12);
    moved->setTitle(QStringLiteral("Moved"));
    moved->setStartDate(at(2024, 5, 12, 14));
    moved->setEndDate(at(2024, 5, 12, 15));
    save(moved, EKSpan::ThisEvent);
    auto beyond = occurrenceOn(series, 2024, 5, 20);
    beyond->setTitle(QStringLiteral("Beyond"));
    save(beyond, EKSpan::ThisEvent);

    // The whole series gets an end: the exceptions up to it stay, the one beyond it goes.
    auto first = occurrenceOn(series, 2024, 5, 6);
    first->setRecurrenceRule(EKRecurrenceRule(
        EKRecurrenceFrequency::Daily, 1, EKRecurrenceEnd::recurrenceEndWithEndDate(at(2024, 5, 14, 23))));
    save(first, EKSpan::FutureEvents);
    const QStringList ended = {line("Standup", 6),  line("Standup", 7),  line("Standup", 8),
                               line("Standup", 9),  line("Standup", 11), line("Moved", 12, "14:00", "15:00"),
                               line("Standup", 13), line("Standup", 14)};
    EXPECT_EQ(reread(at(2024, 5, 1), at(2024, 6, 1)), lines(ended));

    // From the 8th on every second day at 10:00: the exclusion and the change on even days stay,
    // shifted with the start.
    auto eighth = occurrenceOn(series, 2024, 5, 8);
    eighth->setStartDate(at(2024, 5, 8, 10));
    eighth->setEndDate(at(2024, 5, 8, 10, 15));
    eighth->setRecurrenceRule(EKRecurrenceRule(
        EKRecurrenceFrequency::Daily, 2, EKRecurrenceEnd::recurrenceEndWithEndDate(at(2024, 5, 16, 23))));
    save(eighth, EKSpan::FutureEvents);
    EXPECT_EQ(reread(at(2024, 5, 1), at(2024, 6, 1)),
              lines({line("Standup", 6), line("Standup", 7), line("Standup", 8, "10:00", "10:15"),
                     line("Moved", 12, "14:00", "15:00"), line("Standup", 14, "10:00", "10:15"),
                     line("Standup", 16, "10:00", "10:15")}));
}

TEST_F(EventSeriesFaultsTest, ACutNeverMovesTheEndLater) {
    auto series = standup();
    auto held = occurrenceOn(series, 2024, 5, 12);
    remove(occurrenceOn(series, 2024, 5, 9), EKSpan::FutureEvents);
    remove(held, EKSpan::FutureEvents);
    const QStringList kept = {line("Standup", 6), line("Standup", 7), line("Standup", 8)};
    EXPECT_EQ(reread(at(2024, 5, 1), at(2024, 6, 1)), lines(kept));

    // A counted series ends no later either.
    auto counted =
        saved(QStringLiteral("Counted"), at(2024, 6, 3, 9), at(2024, 6, 3, 10), rule("FREQ=DAILY;COUNT=3"));
    auto stale = occurrenceOn(counted, 2024, 6, 5);
    remove(occurrenceOn(counted, 2024, 6, 4), EKSpan::FutureEvents);
    remove(stale, EKSpan::FutureEvents);
    EXPECT_EQ(reread(at(2024, 6, 1), at(2024, 7, 1)),
              lines({QStringLiteral("Counted 2024-06-03 09:00 – 2024-06-03 10:00")}));
}

TEST_F(EventSeriesFaultsTest, MovingTheFutureToAnEarlierDayLeavesNoDuplicates) {
    auto series = standup("FREQ=DAILY;UNTIL=20240515T235959Z");
    auto thursday = occurrenceOn(series, 2024, 5, 9);
    thursday->setStartDate(at(2024, 5, 7, 9));
    thursday->setEndDate(at(2024, 5, 7, 9, 15));
    save(thursday, EKSpan::FutureEvents);
    QStringList once = {line("Standup", 6)};
    for (int day = 7; day <= 15; ++day) {
        once.append(line("Standup", day));
    }
    EXPECT_EQ(reread(at(2024, 5, 1), at(2024, 6, 1)), lines(once));
    const auto tuesday = query(at(2024, 5, 7), at(2024, 5, 8));
    ASSERT_EQ(tuesday.size(), 1u);
    EXPECT_EQ(tuesday[0]->eventIdentifier(), thursday->eventIdentifier());

    // Before the first occurrence: nothing of the old series is left.
    auto review = saved(QStringLiteral("Review"), at(2024, 5, 20, 9), at(2024, 5, 20, 9, 15),
                        rule("FREQ=DAILY;COUNT=4"));
    auto tuesdayReview = occurrenceOn(review, 2024, 5, 21);
    tuesdayReview->setStartDate(at(2024, 5, 18, 9));
    tuesdayReview->setEndDate(at(2024, 5, 18, 9, 15));
    save(tuesdayReview, EKSpan::FutureEvents);
    EXPECT_EQ(reread(at(2024, 5, 16), at(2024, 6, 1)),
              lines({line("Review", 18), line("Review", 19), line("Review", 20)}));
    EXPECT_FALSE(store().eventWithIdentifier(review->eventIdentifier()));
}

TEST_F(EventSeriesFaultsTest, AnOccurrenceInASkippedHourCanBeChangedAndRemovedAlone) {
    const char16_t* york = u"America/New_York";
    auto series = newEvent(QStringLiteral("Backup"), local(york, 2024, 3, 8, 2, 30),
                           local(york, 2024, 3, 8, 3, 0), rule("FREQ=DAILY;COUNT=5"));
    series->setTimeZone(QStringLiteral("America/New_York"));
    save(series, EKSpan::ThisEvent);
    const Date from = local(york, 2024, 3, 10);
    const Date to = local(york, 2024, 3, 11);

    auto skipped = occurrenceOn(series, 2024, 3, 10, york);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(text(skipped->startDate(), york), QStringLiteral("2024-03-10 03:30"));
    skipped->setTitle(QStringLiteral("Backup (moved)"));
    skipped->setStartDate(local(york, 2024, 3, 10, 5, 0));
    skipped->setEndDate(local(york, 2024, 3, 10, 5, 30));
    save(skipped, EKSpan::ThisEvent);
    EXPECT_EQ(reread(from, to, york),
              lines({QStringLiteral("Backup (moved) 2024-03-10 05:00 – 2024-03-10 05:30")}));

    auto changed = occurrenceOn(series, 2024, 3, 10, york);
    ASSERT_TRUE(changed);
    remove(changed, EKSpan::ThisEvent);
    EXPECT_EQ(reread(from, to, york), std::string());

    EXPECT_EQ(query(local(york, 2024, 3, 1), local(york, 2024, 4, 1)).size(), 4u);
}

} // namespace
