#include "EventStoreTestSupport.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

class EventStoreNotificationTest : public EventStoreTest {
protected:
    // Lets the Qt event loop deliver the file system's notices about the database's files until
    // the store has posted its look at them, then runs that turn of the main loop. The kernel
    // queues a notice before the write that causes it returns, so the first round normally
    // delivers it; the wait is bounded all the same.
    bool deliverFileNotices() {
        QElapsedTimer waited;
        waited.start();
        while (m_loop->pendingTaskCount() == 0 && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        const bool delivered = m_loop->pendingTaskCount() > 0;
        m_loop->runPostedTasks();
        return delivered;
    }

    // An event written by a second store on the same file, standing for another process.
    void writeFromAnotherProcess(const QString& title) {
        EKEventStore other(databasePath());
        auto event = EKEvent::eventWithEventStore(other);
        event->setTitle(title);
        event->setStartDate(at(2024, 5, 6, 9));
        event->setEndDate(at(2024, 5, 6, 10));
        event->setCalendar(other.defaultCalendarForNewEvents());
        ASSERT_TRUE(other.saveEvent(event, EKSpan::ThisEvent, nullptr));
        m_loop->runUntilIdle();
    }
};

TEST_F(EventStoreNotificationTest, ObserversHearOfOwnWritesOnTheNextTurnOfTheMainLoop) {
    int calls = 0;
    const auto id = store().addChangeObserver([&](const EKEventStoreChange&) {
        EXPECT_TRUE(m_loop->isMainThread());
        ++calls;
    });
    m_loop->runUntilIdle();
    auto event = saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    EXPECT_EQ(calls, 0);
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);

    // Own writes are not announced a second time by the look for other processes' changes.
    ASSERT_TRUE(deliverFileNotices());
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

TEST_F(EventStoreNotificationTest, AnotherProcessWritingTheDatabaseIsNoticedWhenItsFilesChange) {
    int calls = 0;
    store().addChangeObserver([&](const EKEventStoreChange&) { ++calls; });
    m_loop->runUntilIdle();

    // A second store on the same file stands for another process.
    EKEventStore other(databasePath());
    int otherCalls = 0;
    other.addChangeObserver([&](const EKEventStoreChange&) { ++otherCalls; });
    auto event = EKEvent::eventWithEventStore(other);
    event->setTitle(QStringLiteral("From elsewhere"));
    event->setStartDate(at(2024, 5, 6, 9));
    event->setEndDate(at(2024, 5, 6, 10));
    event->setCalendar(other.defaultCalendarForNewEvents());
    ASSERT_TRUE(other.saveEvent(event, EKSpan::ThisEvent, nullptr));
    m_loop->runUntilIdle();
    EXPECT_EQ(otherCalls, 1);
    EXPECT_EQ(calls, 0);

    // Nothing waits on the clock: the file system's notice alone brings the change.
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
    ASSERT_TRUE(deliverFileNotices());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(otherCalls, 1);
    EXPECT_EQ(describe(query(at(2024, 5, 6), at(2024, 5, 7))),
              (QStringList{QStringLiteral("From elsewhere 2024-05-06 09:00 – 2024-05-06 10:00")}));

    // And the other way round; the writer's own notice does not announce it a second time.
    saved(QStringLiteral("Here"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 2);
    ASSERT_TRUE(deliverFileNotices());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(otherCalls, 2);
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

// Each notification says who changed the store and which calendars: a move touches both, another
// program's change names none (any may have changed).
TEST_F(EventStoreNotificationTest, NotificationsNameTheirOriginAndTheCalendarsTouched) {
    std::vector<EKEventStoreChange> heard;
    store().addChangeObserver([&](const EKEventStoreChange& change) { heard.push_back(change); });
    auto work = EKCalendar::calendarWithEventStore(store());
    work->setTitle(QStringLiteral("Work"));
    ASSERT_TRUE(store().saveCalendar(work, true, nullptr));
    auto event = saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    m_loop->runUntilIdle();
    const QString home = defaultCalendar()->calendarIdentifier();
    const auto names = [](const EKEventStoreChange& change) {
        QStringList identifiers(change.calendarIdentifiers.begin(), change.calendarIdentifiers.end());
        identifiers.sort();
        return identifiers;
    };
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(names(heard[0]), QStringList{work->calendarIdentifier()});
    EXPECT_EQ(names(heard[1]), QStringList{home});
    EXPECT_EQ(heard[1].origin, EKEventStoreChange::Origin::ThisProgram);

    event->setCalendar(work);
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, nullptr));
    // A refused write names nothing, and leaves nothing to be named by the next.
    auto bad = newEvent(QStringLiteral("Bad"), at(2024, 5, 6, 10), at(2024, 5, 6, 9));
    EXPECT_FALSE(store().saveEvent(bad, EKSpan::ThisEvent, nullptr));
    m_loop->runUntilIdle();
    ASSERT_EQ(heard.size(), 3u);
    QStringList both{home, work->calendarIdentifier()};
    both.sort();
    EXPECT_EQ(names(heard[2]), both);

    ASSERT_TRUE(store().removeCalendar(work, true, nullptr));
    m_loop->runUntilIdle();
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(names(heard[3]), QStringList{work->calendarIdentifier()});

    writeFromAnotherProcess(QStringLiteral("From elsewhere"));
    ASSERT_TRUE(deliverFileNotices());
    ASSERT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard[4].origin, EKEventStoreChange::Origin::OtherProgram);
    EXPECT_TRUE(heard[4].calendarIdentifiers.empty());
}

TEST_F(EventStoreNotificationTest, BecomingActiveLooksForChangesOfOtherProcessesOnce) {
    int calls = 0;
    store().addChangeObserver([&](const EKEventStoreChange&) { ++calls; });
    m_loop->runUntilIdle();
    // Without the file system's notices (their events are not delivered here), only becoming
    // active finds the change.
    writeFromAnotherProcess(QStringLiteral("While away"));
    EXPECT_EQ(calls, 0);
    ApplicationEventDispatcher::sharedInstance().dispatch<ApplicationActivatedEvent>();
    EXPECT_EQ(calls, 0);
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);
    ApplicationEventDispatcher::sharedInstance().dispatch<ApplicationActivatedEvent>();
    m_loop->runUntilIdle();
    EXPECT_EQ(calls, 1);
}

TEST_F(EventStoreNotificationTest, ADestroyedStoreStopsCheckingAndAnnouncesNothingMore) {
    int calls = 0;
    store().addChangeObserver([&](const EKEventStoreChange&) { ++calls; });
    saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    m_store.reset();
    m_loop->advance(2.0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

} // namespace
