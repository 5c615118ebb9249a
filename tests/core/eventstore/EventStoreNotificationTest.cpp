#include "EventStoreTestSupport.h"

namespace {

using EventStoreNotificationTest = EventStoreTest;

TEST_F(EventStoreNotificationTest, ObserversHearOfOwnWritesOnTheNextTurnOfTheMainLoop) {
    int calls = 0;
    const auto id = store().addChangeObserver([&] {
        EXPECT_TRUE(m_loop->isMainThread());
        ++calls;
    });
    m_loop->runUntilIdle();
    auto event = saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    EXPECT_EQ(calls, 0);
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);

    // Own writes are not announced a second time by the check for other processes.
    m_loop->advance(2.0);
    EXPECT_EQ(calls, 1);

    // A refused write announces nothing.
    auto bad = newEvent(QStringLiteral("Bad"), at(2024, 5, 6, 10), at(2024, 5, 6, 9));
    EXPECT_FALSE(store().saveEvent(bad, EKSpan::ThisEvent, nullptr));
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);

    store().removeChangeObserver(id);
    store().removeEvent(event, EKSpan::ThisEvent, nullptr);
    m_loop->advance(1.0);
    EXPECT_EQ(calls, 1);
}

TEST_F(EventStoreNotificationTest, AnotherProcessWritingTheDatabaseIsNoticedWithinASecond) {
    int calls = 0;
    store().addChangeObserver([&] { ++calls; });
    m_loop->advance(1.0);
    ASSERT_EQ(calls, 0);

    // A second store on the same file stands for another process.
    EKEventStore other(databasePath());
    int otherCalls = 0;
    other.addChangeObserver([&] { ++otherCalls; });
    auto event = EKEvent::eventWithEventStore(other);
    event->setTitle(QStringLiteral("From elsewhere"));
    event->setStartDate(at(2024, 5, 6, 9));
    event->setEndDate(at(2024, 5, 6, 10));
    event->setCalendar(other.defaultCalendarForNewEvents());
    ASSERT_TRUE(other.saveEvent(event, EKSpan::ThisEvent, nullptr));
    m_loop->runUntilIdle();
    EXPECT_EQ(otherCalls, 1);
    EXPECT_EQ(calls, 0);

    m_loop->advance(0.5);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(otherCalls, 1);
    EXPECT_EQ(describe(query(at(2024, 5, 6), at(2024, 5, 7))),
              (QStringList{QStringLiteral("From elsewhere 2024-05-06 09:00 – 2024-05-06 10:00")}));
    m_loop->advance(3.0);
    EXPECT_EQ(calls, 1);

    // And the other way round.
    saved(QStringLiteral("Here"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    m_loop->advance(0.5);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(otherCalls, 2);
}

TEST_F(EventStoreNotificationTest, ADestroyedStoreStopsCheckingAndAnnouncesNothingMore) {
    int calls = 0;
    store().addChangeObserver([&] { ++calls; });
    saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    m_store.reset();
    m_loop->advance(2.0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

} // namespace
