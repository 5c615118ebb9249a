#pragma once

#include "core/bus/BusReceiver.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Date.h"
#include "foundation/RunLoop.h"

#include <memory>
#include <optional>
#include <vector>

class ApplicationEventDispatcher;

// Turns the store's change notifications into EventStoreChangedEvent at moments when a redraw
// does not disturb the user: a foreign change is announced at once while the user is idle,
// otherwise one second after the user next falls idle or the application becomes active (unless
// the user touches the screen within that second). A change taken up, or the program's own
// write, opens a quiet interval of 1.5 seconds: the own write's notification is passed over, and
// other notifications within the interval are taken up together once it ends. Main thread only;
// construct it there.
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
    // The user is active: not idle, and the checks still pending are cancelled.
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
    // Announces a change at once while idle, otherwise keeps it for the next check, and opens a
    // quiet interval.
    void takeUpChange(Date now);
    // The end of a quiet interval in which notifications were dropped.
    void quietIntervalEnded();

    ApplicationEventDispatcher& m_dispatcher;
    EKEventStore& m_store;
    EKEventStore::ObserverId m_observerId;
    std::optional<Date> m_lastNotificationReceivedDate;
    bool m_eventStoreChanged = false;
    bool m_idle = false;
    // The program's own writes whose notification has not arrived yet.
    int m_ownNotificationsExpected = 0;
    std::vector<std::shared_ptr<Timer>> m_pendingChecks;
    std::shared_ptr<Timer> m_quietIntervalEnd;
};
