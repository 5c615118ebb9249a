#include "core/events/EventStoreChangeThrottler.h"

#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/bus/UserIsActiveEvent.h"
#include "core/bus/UserIsIdleEvent.h"
#include "foundation/RunLoop.h"

EventStoreChangeThrottler::EventStoreChangeThrottler(EKEventStore& store)
    : m_dispatcher(ApplicationEventDispatcher::sharedInstance()), m_store(store) {
    m_dispatcher.registerTarget<UserIsIdleEvent>(
        this, &EventStoreChangeThrottler::dispatchEventWhenEventStoreChanged);
    m_dispatcher.registerTarget<ApplicationActivatedEvent>(
        this, &EventStoreChangeThrottler::dispatchEventWhenEventStoreChanged);
    m_dispatcher.registerTarget<UserIsActiveEvent>(this, &EventStoreChangeThrottler::resetIdle);
    m_dispatcher.registerTarget<UserChangedEvent>(this, &EventStoreChangeThrottler::userChangedEvent);
    m_observerId = m_store.addChangeObserver([this](const EKEventStoreChange&) { notificationReceived(); });
    m_lastNotificationReceivedDate = RunLoop::main().now();
}

EventStoreChangeThrottler::~EventStoreChangeThrottler() {
    m_store.removeChangeObserver(m_observerId);
    m_dispatcher.unregisterAllEventsForTarget(this);
}

void EventStoreChangeThrottler::dispatchEventWhenEventStoreChanged() {
    // Each call schedules its own check; user activity cancels them all. The timer holds the
    // throttler weakly, through its bus lifetime token.
    std::erase_if(m_pendingChecks, [](const std::shared_ptr<Timer>& timer) { return !timer->isValid(); });
    m_pendingChecks.push_back(
        RunLoop::main().scheduleTimer(checkDelay, false, [this, alive = lifetimeToken()] {
            if (!alive.expired()) {
                dispatchEventWhenEventStoreChangedDelayed();
            }
        }));
}

void EventStoreChangeThrottler::dispatchEventWhenEventStoreChangedDelayed() {
    if (m_eventStoreChanged) {
        m_eventStoreChanged = false;
        dispatchEventStoreChangedEvent();
    } else {
        m_idle = true;
    }
}

void EventStoreChangeThrottler::resetIdle() {
    m_idle = false;
    // A check still pending would otherwise declare the user idle right after this touch.
    for (const std::shared_ptr<Timer>& timer : m_pendingChecks) {
        timer->invalidate();
    }
    m_pendingChecks.clear();
}

void EventStoreChangeThrottler::userChangedEvent() {
    m_lastNotificationReceivedDate = RunLoop::main().now();
    ++m_ownNotificationsExpected;
}

void EventStoreChangeThrottler::notificationReceived() {
    const Date now = RunLoop::main().now();
    if (!m_lastNotificationReceivedDate ||
        now.timeIntervalSinceDate(*m_lastNotificationReceivedDate) > quietInterval) {
        m_ownNotificationsExpected = 0;
        takeUpChange(now);
        return;
    }
    if (m_ownNotificationsExpected > 0) {
        --m_ownNotificationsExpected;
        return;
    }
    // Dropped for now; the interval's end takes up everything dropped in it, once. The interval
    // does not grow, so a steady stream of changes is still announced every 1.5 seconds.
    if (!m_quietIntervalEnd || !m_quietIntervalEnd->isValid()) {
        const double remaining = quietInterval - now.timeIntervalSinceDate(*m_lastNotificationReceivedDate);
        m_quietIntervalEnd = RunLoop::main().scheduleTimer(remaining, false, [this, alive = lifetimeToken()] {
            if (!alive.expired()) {
                quietIntervalEnded();
            }
        });
    }
}

void EventStoreChangeThrottler::quietIntervalEnded() {
    takeUpChange(RunLoop::main().now());
}

void EventStoreChangeThrottler::takeUpChange(Date now) {
    if (m_idle) {
        dispatchEventStoreChangedEvent();
    } else {
        m_eventStoreChanged = true;
    }
    m_lastNotificationReceivedDate = now;
}

void EventStoreChangeThrottler::dispatchEventStoreChangedEvent() {
    m_dispatcher.dispatch<EventStoreChangedEvent>();
}
