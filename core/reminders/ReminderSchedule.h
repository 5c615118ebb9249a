#pragma once

#include "core/bus/BusReceiver.h"
#include "core/eventstore/EKEventStore.h"
#include "core/reminders/Reminder.h"
#include "foundation/Date.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class EventService;
class ReminderRecord;
class Timer;

// Which alerts of the events in the visible calendars are due when. While started it keeps one
// timer, set to the next due moment, and computes that moment again whenever the store, the time
// zone or the visible calendars change, and when told that the clock jumped. A reminder whose
// moment has passed since the last look is delivered then, once: a timer that fires late still
// delivers. All-day events' alerts fall on their time of day in the process default zone (the
// settings' zone). Main thread only.
class ReminderSchedule final : public BusReceiver, public std::enable_shared_from_this<ReminderSchedule> {
public:
    // Reminders missed while no program delivered them are reported for this long back.
    static constexpr double missedPeriod = 86400.0;
    static constexpr double snoozeInterval = 600.0;
    // Alerts are looked for this far before and after their occurrences.
    static constexpr double longestAlarmLead = 7 * 86400.0;
    static constexpr double longestAlarmDelay = 86400.0;
    // Beyond this nothing is looked for; the timer then wakes at its end to look again.
    static constexpr double lookAheadPeriod = 366 * 86400.0;

    ReminderSchedule(EventService& eventService, std::shared_ptr<ReminderRecord> record);
    ~ReminderSchedule() override;

    ReminderSchedule(const ReminderSchedule&) = delete;
    ReminderSchedule& operator=(const ReminderSchedule&) = delete;

    // Reports the reminders of the last `missedPeriod` that were never shown (onRemindersMissed,
    // once, when there are any), then delivers each reminder at its moment (onReminderDue) until
    // stop(). Both are recorded as shown before the callbacks run.
    void start();
    void stop();
    bool started() const { return m_started; }

    // Looks again at once: after a clock jump, or when another program changed the record.
    void recompute();
    // Shows the reminder again `snoozeInterval` from now.
    void snooze(const Reminder& reminder);

    // The alerts of the visible calendars' occurrences due from `from` up to and including `to`,
    // ordered by due moment, without regard to the record. Any thread.
    std::vector<Reminder> remindersDue(Date from, Date to) const;

    std::function<void(const Reminder& reminder)> onReminderDue;
    std::function<void(const std::vector<Reminder>& reminders)> onRemindersMissed;

private:
    void recomputeOnNextTurn();
    // The first moment after `now` at which a reminder not shown yet is due, searched in growing
    // periods; the end of the look-ahead when there is none.
    // `recent`: the reminders of the missed period up to now, already read.
    Date nextMoment(Date now, const std::vector<Reminder>& recent) const;
    void scheduleTimer(Date at, Date now);

    EventService& m_eventService;
    std::shared_ptr<ReminderRecord> m_record;
    bool m_started = false;
    bool m_recomputePosted = false;
    // Reminders due after this moment and up to now are delivered on the next look.
    Date m_lastLook;
    std::shared_ptr<Timer> m_timer;
    std::optional<EKEventStore::ObserverId> m_storeObserver;
};
