#pragma once

#include "core/bus/BusReceiver.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Date.h"

#include <optional>

class ApplicationEventDispatcher;

// Turns the store's change notifications into EventStoreChangedEvent at moments when a redraw
// does not disturb the user: a foreign change is announced at once while the user is idle,
// otherwise one second after the user next falls idle or the application becomes active.
// Notifications within 1.5 seconds of the previous one or of the program's own write are
// dropped. Main thread only; construct it there.
class EventStoreChangeThrottler final : public BusReceiver {
public:
    static constexpr double quietInterval = 1.5;
    static constexpr double checkDelay = 1.0;

    // Registers on the shared bus and observes the store, which must outlive the throttler.
    explicit EventStoreChangeThrottler(EKEventStore& store);
    ~EventStoreChangeThrottler() override;

    EventStoreChangeThrottler(const EventStoreChangeThrottler&) = delete;
    EventStoreChangeThrottler& operator=(const EventStoreChangeThrottler&) = delete;

    // The user fell idle or the application became active: check again a second later.
    void dispatchEventWhenEventStoreChanged();
    void dispatchEventWhenEventStoreChangedDelayed();
    void resetIdle();
    // This program wrote to the store; the notification that follows is its own.
    void userChangedEvent();
    // The store's change notification.
    void notificationReceived();

    ApplicationEventDispatcher& dispatcher() const { return m_dispatcher; }
    std::optional<Date> lastNotificationReceivedDate() const { return m_lastNotificationReceivedDate; }
    bool eventStoreChanged() const { return m_eventStoreChanged; }
    bool idle() const { return m_idle; }

private:
    void dispatchEventStoreChangedEvent();

    ApplicationEventDispatcher& m_dispatcher;
    EKEventStore& m_store;
    EKEventStore::ObserverId m_observerId;
    std::optional<Date> m_lastNotificationReceivedDate;
    bool m_eventStoreChanged = false;
    bool m_idle = false;
};
