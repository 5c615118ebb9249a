#include "core/events/EventStoreChangeThrottler.h"
#include "../CalendarTestSupport.h"
#include "EventsTestSupport.h"
#include "core/bus/AllEvents.h"

#include <typeindex>

namespace {

// A throttler on a store of its own, with no event service around it, on a manual main loop:
// time moves only when the test advances it.
class EventStoreChangeThrottlerTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        m_loop = std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1'700'000'000.0));
        RunLoop::setMain(m_loop);
        m_store = std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"));
        m_throttler = std::make_unique<EventStoreChangeThrottler>(*m_store);
        m_bus = std::make_unique<BusSpy>();
    }

    void TearDown() override {
        m_bus.reset();
        m_throttler.reset();
        m_loop->runUntilIdle();
        m_store.reset();
        RunLoop::setMain(nullptr);
        CalendarTest::TearDown();
    }

    static ApplicationEventDispatcher& bus() { return ApplicationEventDispatcher::sharedInstance(); }
    int announced() const { return m_bus->storeChangedCount; }

    QTemporaryDir m_folder;
    std::shared_ptr<ManualRunLoop> m_loop;
    std::shared_ptr<EKEventStore> m_store;
    std::unique_ptr<EventStoreChangeThrottler> m_throttler;
    std::unique_ptr<BusSpy> m_bus;
};

} // namespace

TEST_F(EventStoreChangeThrottlerTest, StartsActiveWithNothingPendingSinceItsCreation) {
    EXPECT_FALSE(m_throttler->idle());
    EXPECT_FALSE(m_throttler->eventStoreChanged());
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now());
    EXPECT_EQ(&m_throttler->dispatcher(), &bus());
}

TEST_F(EventStoreChangeThrottlerTest, OwnSaveFollowedByTheStoresNotificationAnnouncesNothing) {
    m_loop->advance(10.0);
    bus().dispatch<UserChangedEvent>();
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now());
    m_loop->advance(1.0);
    m_throttler->notificationReceived();
    EXPECT_FALSE(m_throttler->eventStoreChanged());

    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_EQ(announced(), 0);
    EXPECT_TRUE(m_throttler->idle());
}

TEST_F(EventStoreChangeThrottlerTest, ExactlyOneAndAHalfSecondsIsStillWithinTheQuietInterval) {
    const Date created = m_loop->now();
    m_loop->advance(1.5);
    m_throttler->notificationReceived();
    EXPECT_FALSE(m_throttler->eventStoreChanged());
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), created);
    // The interval ends right then: the dropped change is taken up and opens the next interval.
    m_loop->runUntilIdle();
    EXPECT_TRUE(m_throttler->eventStoreChanged());
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now());
    m_loop->advance(1.5);
    m_throttler->notificationReceived();
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now().addingTimeInterval(-1.5));
    m_loop->runUntilIdle();
    m_loop->advance(1.5001);
    m_throttler->notificationReceived();
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now());
}

TEST_F(EventStoreChangeThrottlerTest, ChangesDroppedWithinTheQuietIntervalAreAnnouncedOnceAtItsEnd) {
    m_loop->advance(2.0);
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    ASSERT_TRUE(m_throttler->idle());
    // A burst of foreign writes while idle: the first is announced at once, the others together
    // when the quiet interval the first opened is over.
    m_throttler->notificationReceived();
    EXPECT_EQ(announced(), 1);
    m_loop->advance(0.5);
    m_throttler->notificationReceived();
    m_loop->advance(0.5);
    m_throttler->notificationReceived();
    m_loop->advance(0.499);
    EXPECT_EQ(announced(), 1);
    m_loop->advance(0.001);
    EXPECT_EQ(announced(), 2);
    m_loop->advance(10.0);
    EXPECT_EQ(announced(), 2);

    // A foreign write just after the program's own save: the save's own notification stays
    // silent, the foreign one is announced when the interval of the save is over.
    bus().dispatch<UserChangedEvent>();
    m_loop->advance(0.1);
    m_throttler->notificationReceived();
    m_loop->advance(0.4);
    m_throttler->notificationReceived();
    m_loop->advance(0.999);
    EXPECT_EQ(announced(), 2);
    m_loop->advance(0.001);
    EXPECT_EQ(announced(), 3);
    m_loop->advance(10.0);
    EXPECT_EQ(announced(), 3);

    // The same while the user is busy: the change waits for the user to fall idle.
    bus().dispatch<UserIsActiveEvent>();
    bus().dispatch<UserChangedEvent>();
    m_loop->advance(0.1);
    m_throttler->notificationReceived();
    m_loop->advance(1.0);
    m_throttler->notificationReceived();
    EXPECT_FALSE(m_throttler->eventStoreChanged());
    m_loop->advance(0.4);
    EXPECT_TRUE(m_throttler->eventStoreChanged());
    EXPECT_EQ(announced(), 3);
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_EQ(announced(), 4);
}

TEST_F(EventStoreChangeThrottlerTest, ATouchCancelsTheCheckOfAnEarlierIdleOrActivationEvent) {
    m_loop->advance(2.0);
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(0.5);
    bus().dispatch<UserIsActiveEvent>();
    m_loop->advance(0.5);
    EXPECT_FALSE(m_throttler->idle());
    m_loop->advance(5.0);
    m_throttler->notificationReceived();
    EXPECT_EQ(announced(), 0);
    EXPECT_TRUE(m_throttler->eventStoreChanged());

    bus().dispatch<ApplicationActivatedEvent>(std::optional<Date>(m_loop->now()));
    m_loop->advance(0.5);
    bus().dispatch<UserIsActiveEvent>();
    m_loop->advance(5.0);
    EXPECT_EQ(announced(), 0);
    EXPECT_TRUE(m_throttler->eventStoreChanged());
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_EQ(announced(), 1);
}

TEST_F(EventStoreChangeThrottlerTest, ForeignChangeWhileBusyIsAnnouncedOneSecondAfterTheUserFallsIdle) {
    m_loop->advance(2.0);
    m_throttler->notificationReceived();
    EXPECT_TRUE(m_throttler->eventStoreChanged());
    m_loop->advance(30.0);
    EXPECT_EQ(announced(), 0);

    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(0.999);
    EXPECT_EQ(announced(), 0);
    m_loop->advance(0.001);
    EXPECT_EQ(announced(), 1);
    EXPECT_FALSE(m_throttler->eventStoreChanged());
    // Announcing leaves the idle flag as it was: the next check enters idle.
    EXPECT_FALSE(m_throttler->idle());
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_TRUE(m_throttler->idle());
    EXPECT_EQ(announced(), 1);
}

TEST_F(EventStoreChangeThrottlerTest, ForeignChangeWhileBusyIsAnnouncedOneSecondAfterActivation) {
    m_loop->advance(2.0);
    m_throttler->notificationReceived();
    bus().dispatch<ApplicationActivatedEvent>(std::optional<Date>(m_loop->now()));
    m_loop->advance(0.5);
    EXPECT_EQ(announced(), 0);
    m_loop->advance(0.5);
    EXPECT_EQ(announced(), 1);
}

TEST_F(EventStoreChangeThrottlerTest, ForeignChangeWhileIdleIsAnnouncedAtOnce) {
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_TRUE(m_throttler->idle());
    m_loop->advance(1.0);
    m_throttler->notificationReceived();
    EXPECT_EQ(announced(), 1);
    EXPECT_FALSE(m_throttler->eventStoreChanged());
}

TEST_F(EventStoreChangeThrottlerTest, UserActivityLeavesIdleSoTheNextChangeWaits) {
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    bus().dispatch<UserIsActiveEvent>();
    EXPECT_FALSE(m_throttler->idle());
    m_loop->advance(5.0);
    m_throttler->notificationReceived();
    EXPECT_EQ(announced(), 0);
    EXPECT_TRUE(m_throttler->eventStoreChanged());
}

TEST_F(EventStoreChangeThrottlerTest, EachIdleOrActivationEventSchedulesItsOwnCheck) {
    m_loop->advance(2.0);
    m_throttler->notificationReceived();
    const int otherTimers = m_loop->pendingTimerCount();
    bus().dispatch<UserIsIdleEvent>();
    m_loop->advance(0.5);
    bus().dispatch<ApplicationActivatedEvent>();
    EXPECT_EQ(m_loop->pendingTimerCount(), otherTimers + 2);
    m_loop->advance(0.5);
    EXPECT_EQ(announced(), 1);
    EXPECT_FALSE(m_throttler->idle());
    // The second check finds nothing pending and enters idle.
    m_loop->advance(0.5);
    EXPECT_EQ(announced(), 1);
    EXPECT_TRUE(m_throttler->idle());
}

TEST_F(EventStoreChangeThrottlerTest, StoreNotificationsReachTheThrottler) {
    m_loop->advance(2.0);
    std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(*m_store);
    event->setTitle("Written by someone else");
    event->setStartDate(m_loop->now());
    event->setEndDate(m_loop->now().addingTimeInterval(3600.0));
    event->setCalendar(m_store->defaultCalendarForNewEvents());
    StoreError error;
    ASSERT_TRUE(m_store->saveEvent(event, EKSpan::ThisEvent, &error));
    m_loop->runUntilIdle();
    EXPECT_TRUE(m_throttler->eventStoreChanged());
    EXPECT_EQ(m_throttler->lastNotificationReceivedDate(), m_loop->now());
}

TEST_F(EventStoreChangeThrottlerTest, DestructionRemovesEveryRegistrationAndDisarmsItsTimers) {
    const std::type_index classes[] = {typeid(UserIsIdleEvent), typeid(ApplicationActivatedEvent),
                                       typeid(UserIsActiveEvent), typeid(UserChangedEvent)};
    std::vector<std::size_t> before;
    for (const std::type_index& eventClass : classes) {
        before.push_back(bus().registrationCount(eventClass));
    }
    m_loop->advance(2.0);
    m_throttler->notificationReceived();
    bus().dispatch<UserIsIdleEvent>();
    m_throttler.reset();
    for (std::size_t index = 0; index < std::size(classes); ++index) {
        EXPECT_EQ(bus().registrationCount(classes[index]), before[index] - 1);
    }
    // The pending check fires into nothing, and store writes reach nobody.
    m_loop->advance(1.0);
    EXPECT_EQ(announced(), 0);
    std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(*m_store);
    event->setTitle("After");
    event->setStartDate(m_loop->now());
    event->setEndDate(m_loop->now().addingTimeInterval(60.0));
    event->setCalendar(m_store->defaultCalendarForNewEvents());
    StoreError error;
    EXPECT_TRUE(m_store->saveEvent(event, EKSpan::ThisEvent, &error));
    m_loop->runUntilIdle();
    EXPECT_EQ(announced(), 0);
}
