#pragma once

#include "core/reminders/Reminder.h"
#include "foundation/Date.h"

#include <QDBusConnection>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>

class ClockJumpWatcher;
class DesktopNotifications;
class EventService;
class ReminderDeliveryLock;
class ReminderRecord;
class ReminderSchedule;

// Shows the reminders as desktop notifications while this program holds the delivery lock:
// "Open" shows the event's occurrence (toShowEvent), "Snooze" shows the reminder again ten
// minutes later, dismissing it ends it. Reminders missed while no program ran come as one
// summary. A program that does not hold the lock stands by and passes the actions on its older
// notifications to the holder. Main thread only.
class ReminderCenter final : public std::enable_shared_from_this<ReminderCenter> {
public:
    enum class Role {
        // Takes delivery over from the background program while it runs.
        Window,
        // Delivers while no window runs.
        Background,
    };

    ReminderCenter(Role role, EventService& eventService, QDBusConnection connection);
    ~ReminderCenter();

    ReminderCenter(const ReminderCenter&) = delete;
    ReminderCenter& operator=(const ReminderCenter&) = delete;

    // Claims the delivery lock; delivery starts once it is held. From here on a jump of the
    // clock makes the schedule look again.
    void start();

    // Shows the occurrence: in the window its week with the row flashed, in the background
    // program the window started on it.
    std::function<void(const QString& identifier, Date startDate)> toShowEvent;
    // Runs before delivery starts: the background program reads the settings again, which the
    // window may have changed.
    std::function<void()> toPrepareDelivery;

private:
    void deliveryAcquired();
    void deliveryLost();
    void show(const Reminder& reminder);
    void showMissed(const std::vector<Reminder>& reminders);
    void actionInvoked(uint id, const QString& actionKey);
    void open(const Reminder& reminder);
    void snooze(const Reminder& reminder);

    Role m_role;
    std::shared_ptr<ReminderRecord> m_record;
    std::shared_ptr<ReminderSchedule> m_schedule;
    std::unique_ptr<DesktopNotifications> m_notifications;
    std::unique_ptr<ReminderDeliveryLock> m_lock;
    std::unique_ptr<ClockJumpWatcher> m_clockJumps;
    // The reminders of the notifications this program shows, by the server's id.
    std::unordered_map<uint, Reminder> m_shown;
};
