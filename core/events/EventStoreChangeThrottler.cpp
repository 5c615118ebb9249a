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
    m_observerId = m_store.addChangeObserver([this] { notificationReceived(); });
    m_lastNotificationReceivedDate = RunLoop::main().now();
}

EventStoreChangeThrottler::~EventStoreChangeThrottler() {
    m_store.removeChangeObserver(m_observerId);
    m_dispatcher.unregisterAllEventsForTarget(this);
}

void EventStoreChangeThrottler::dispatchEventWhenEventStoreChanged() {
    // Each call schedules its own check; none is cancelled. The timer holds the throttler
    // weakly, through its bus lifetime token.
    RunLoop::main().scheduleTimer(checkDelay, false, [this, alive = lifetimeToken()] {
        if (!alive.expired()) {
            dispatchEventWhenEventStoreChangedDelayed();
        }
    });
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
}

void EventStoreChangeThrottler::userChangedEvent() {
    m_lastNotificationReceivedDate = RunLoop::main().now();
}

void EventStoreChangeThrottler::notificationReceived() {
    const Date now = RunLoop::main().now();
    if (m_lastNotificationReceivedDate &&
        now.timeIntervalSinceDate(*m_lastNotificationReceivedDate) > quietInterval) {
        if (m_idle) {
            dispatchEventStoreChangedEvent();
        } else {
            m_eventStoreChanged = true;
        }
    }
    m_lastNotificationReceivedDate = now;
}

void EventStoreChangeThrottler::dispatchEventStoreChangedEvent() {
    m_dispatcher.dispatch<EventStoreChangedEvent>();
}
