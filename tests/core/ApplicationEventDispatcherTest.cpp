#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/AllEvents.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeindex>

namespace {

// Appends its name and the event's class to a shared log, and runs an optional extra step.
class Recorder : public BusReceiver {
public:
    Recorder(std::string name, std::string& log) : m_name(std::move(name)), m_log(log) {}

    void storeChanged(const std::shared_ptr<EventStoreChangedEvent>&) {
        m_log += m_name + ":store ";
        if (m_then) {
            m_then();
        }
    }
    void idle() { m_log += m_name + ":idle "; }
    void selected(const std::shared_ptr<EventSelectedEvent>& event) {
        m_log += m_name + ":selected@" + std::to_string(event->tappedDate().timeIntervalSince1970()) + " ";
    }

    std::function<void()> m_then;

private:
    std::string m_name;
    std::string& m_log;
};

ApplicationEventDispatcher& bus() {
    return ApplicationEventDispatcher::sharedInstance();
}

void dispatchStoreChanged() {
    bus().dispatch<EventStoreChangedEvent>();
}

} // namespace

TEST(ApplicationEventDispatcher, DeliversToExactClassInRegistrationOrderIncludingDuplicates) {
    std::string log;
    Recorder a("a", log), b("b", log);
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<EventStoreChangedEvent>(&b, &Recorder::storeChanged);
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<UserIsIdleEvent>(&b, &Recorder::idle);

    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store b:store a:store ");

    log.clear();
    bus().dispatch<UserIsIdleEvent>();
    bus().dispatch<VisibleCalendarsChangedEvent>(); // nobody registered: nothing happens
    EXPECT_EQ(log, "b:idle ");
}

TEST(ApplicationEventDispatcher, PassesThePayloadAndIgnoresNullEvents) {
    std::string log;
    Recorder a("a", log);
    bus().registerTarget<EventSelectedEvent>(&a, &Recorder::selected);
    bus().dispatch<EventSelectedEvent>(nullptr, Date::withTimeIntervalSince1970(42), nullptr);
    bus().dispatchEvent(nullptr);
    EXPECT_EQ(log, "a:selected@42.000000 ");
}

TEST(ApplicationEventDispatcher, UnregisteringRemovesEveryClassAndKeepsOthersInOrder) {
    std::string log;
    Recorder a("a", log), b("b", log), c("c", log);
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<EventStoreChangedEvent>(&b, &Recorder::storeChanged);
    bus().registerTarget<UserIsIdleEvent>(&b, &Recorder::idle);
    bus().registerTarget<EventStoreChangedEvent>(&c, &Recorder::storeChanged);

    bus().unregisterAllEventsForTarget(&b);
    bus().unregisterAllEventsForTarget(&b); // a second time does nothing
    dispatchStoreChanged();
    bus().dispatch<UserIsIdleEvent>();
    EXPECT_EQ(log, "a:store c:store ");
    // The emptied list stays in the map.
    EXPECT_EQ(bus().registrationCount(typeid(UserIsIdleEvent)), 0u);
}

TEST(ApplicationEventDispatcher, RegistrationDuringDispatchHearsOnlyTheNextEvent) {
    std::string log;
    Recorder a("a", log), late("late", log);
    a.m_then = [&] {
        if (bus().registrationCount(typeid(EventStoreChangedEvent)) == 1) {
            bus().registerTarget<EventStoreChangedEvent>(&late, &Recorder::storeChanged);
        }
    };
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);

    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store ");
    log.clear();
    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store late:store ");
}

TEST(ApplicationEventDispatcher, ReceiverRemovedDuringDispatchStillHearsTheRunningDispatch) {
    std::string log;
    Recorder a("a", log), b("b", log);
    a.m_then = [&] { bus().unregisterAllEventsForTarget(&b); };
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<EventStoreChangedEvent>(&b, &Recorder::storeChanged);

    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store b:store ");
    log.clear();
    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store ");
}

TEST(ApplicationEventDispatcher, NestedDispatchCompletesBeforeTheOuterOneContinues) {
    std::string log;
    Recorder a("a", log), b("b", log);
    a.m_then = [&] { bus().dispatch<UserIsIdleEvent>(); };
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<UserIsIdleEvent>(&b, &Recorder::idle);
    bus().registerTarget<EventStoreChangedEvent>(&b, &Recorder::storeChanged);

    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store b:idle b:store ");
}

TEST(ApplicationEventDispatcher, ReceiverThatForgetsToUnregisterIsRemovedWhenDestroyed) {
    std::string log;
    {
        Recorder forgetful("forgetful", log);
        bus().registerTarget<EventStoreChangedEvent>(&forgetful, &Recorder::storeChanged);
    }
    dispatchStoreChanged();
    EXPECT_EQ(log, "");
    EXPECT_EQ(bus().registrationCount(typeid(EventStoreChangedEvent)), 0u);
}

TEST(ApplicationEventDispatcher, ReceiverDestroyedByAnEarlierReceiverIsNotCalled) {
    std::string log;
    Recorder a("a", log);
    auto doomed = std::make_unique<Recorder>("doomed", log);
    a.m_then = [&] { doomed.reset(); };
    bus().registerTarget<EventStoreChangedEvent>(&a, &Recorder::storeChanged);
    bus().registerTarget<EventStoreChangedEvent>(doomed.get(), &Recorder::storeChanged);

    dispatchStoreChanged();
    EXPECT_EQ(log, "a:store ");
}

TEST(ApplicationEventDispatcher, InlineActionsReceiveTheEventObject) {
    BusReceiver receiver;
    std::optional<TimeZone> received;
    bus().registerTarget<TimeZoneChangedEvent>(
        &receiver,
        std::function<void(const std::shared_ptr<TimeZoneChangedEvent>&)>(
            [&](const std::shared_ptr<TimeZoneChangedEvent>& event) { received = event->toTimeZone(); }));
    const auto zone = TimeZone::withName("Europe/Berlin");
    bus().dispatch<TimeZoneChangedEvent>(zone, zone);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->name(), "Europe/Berlin");
}
