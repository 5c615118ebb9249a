#include "core/reminders/ReminderSchedule.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/events/EventService.h"
#include "core/reminders/ReminderRecord.h"
#include "foundation/RunLoop.h"

#include <algorithm>
#include <utility>

ReminderSchedule::ReminderSchedule(EventService& eventService, std::shared_ptr<ReminderRecord> record)
    : m_eventService(eventService), m_record(std::move(record)) {}

ReminderSchedule::~ReminderSchedule() {
    stop();
}

void ReminderSchedule::start() {
    if (m_started) {
        return;
    }
    m_started = true;
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    dispatcher.registerTarget<TimeZoneChangedEvent>(this, &ReminderSchedule::recomputeOnNextTurn);
    dispatcher.registerTarget<VisibleCalendarsChangedEvent>(this, &ReminderSchedule::recomputeOnNextTurn);
    const std::weak_ptr<ReminderSchedule> weak = weak_from_this();
    m_storeObserver = m_eventService.eventStore().addChangeObserver([weak](const EKEventStoreChange&) {
        if (const std::shared_ptr<ReminderSchedule> self = weak.lock()) {
            self->recomputeOnNextTurn();
        }
    });

    const Date now = RunLoop::main().now();
    m_record->reload();
    std::vector<Reminder> missed;
    for (const Reminder& reminder : remindersDue(now.addingTimeInterval(-missedPeriod), now)) {
        if (reminder.dueDate < now && !m_record->wasShown(reminder) && !m_record->snoozedUntil(reminder)) {
            missed.push_back(reminder);
        }
    }
    m_lastLook = now;
    if (!missed.empty()) {
        m_record->recordShown(missed, now);
        if (onRemindersMissed) {
            onRemindersMissed(missed);
        }
    }
    recompute();
}

void ReminderSchedule::stop() {
    if (!m_started) {
        return;
    }
    m_started = false;
    ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
    if (m_storeObserver) {
        m_eventService.eventStore().removeChangeObserver(*std::exchange(m_storeObserver, std::nullopt));
    }
    if (m_timer) {
        std::exchange(m_timer, nullptr)->invalidate();
    }
}

void ReminderSchedule::recompute() {
    if (!m_started) {
        return;
    }
    const Date now = RunLoop::main().now();
    m_record->reload();
    // Reminders whose moment passed since the last look, and snoozes that ended.
    const std::vector<Reminder> recent = remindersDue(now.addingTimeInterval(-missedPeriod), now);
    std::vector<Reminder> due;
    for (Reminder reminder : recent) {
        if (const std::optional<Date> until = m_record->snoozedUntil(reminder)) {
            if (*until <= now) {
                reminder.dueDate = *until;
                due.push_back(reminder);
            }
        } else if (reminder.dueDate > m_lastLook && !m_record->wasShown(reminder)) {
            due.push_back(reminder);
        }
    }
    // A clock set back starts the next look from the new time.
    m_lastLook = now;
    if (!due.empty()) {
        m_record->recordShown(due, now);
        for (const Reminder& reminder : due) {
            // The callback may stop the schedule.
            if (m_started && onReminderDue) {
                onReminderDue(reminder);
            }
        }
    }
    if (m_started) {
        scheduleTimer(nextMoment(now, recent), now);
    }
}

void ReminderSchedule::snooze(const Reminder& reminder) {
    const Date now = RunLoop::main().now();
    m_record->recordSnoozed(reminder, now.addingTimeInterval(snoozeInterval), now);
    recompute();
}

std::vector<Reminder> ReminderSchedule::remindersDue(Date from, Date to) const {
    const EventList events = m_eventService.synchronousFindAllEventsFromDateTime(
        from.addingTimeInterval(-longestAlarmDelay), to.addingTimeInterval(longestAlarmLead));
    std::vector<Reminder> reminders;
    for (const std::shared_ptr<EKEvent>& event : events.array()) {
        for (const EKAlarm& alarm : event->alarms()) {
            const Date dueDate = event->startDate().addingTimeInterval(alarm.relativeOffset());
            if (dueDate < from || dueDate > to) {
                continue;
            }
            reminders.push_back(Reminder{event->eventIdentifier(), event->startDate(), alarm.relativeOffset(),
                                         dueDate, event->title(), event->location(), event->allDay()});
        }
    }
    std::stable_sort(reminders.begin(), reminders.end(),
                     [](const Reminder& a, const Reminder& b) { return a.dueDate < b.dueDate; });
    return reminders;
}

Date ReminderSchedule::nextMoment(Date now, const std::vector<Reminder>& recent) const {
    std::optional<Date> next;
    // Snoozes end within the missed period of their first moment.
    for (const Reminder& reminder : recent) {
        if (const std::optional<Date> until = m_record->snoozedUntil(reminder); until && *until > now) {
            next = std::min(next.value_or(*until), *until);
        }
    }
    // Most reminders are near: short periods first keep the expansion of repeating events small.
    Date searched = now;
    for (const double period : {86400.0, 7 * 86400.0, 31 * 86400.0, lookAheadPeriod}) {
        if (next && *next <= searched) {
            break;
        }
        const Date end = now.addingTimeInterval(period);
        for (const Reminder& reminder : remindersDue(searched, end)) {
            if (reminder.dueDate > now && !m_record->wasShown(reminder) &&
                !m_record->snoozedUntil(reminder)) {
                next = std::min(next.value_or(reminder.dueDate), reminder.dueDate);
                break;
            }
        }
        searched = end;
    }
    return next.value_or(now.addingTimeInterval(lookAheadPeriod));
}

void ReminderSchedule::scheduleTimer(Date at, Date now) {
    if (m_timer) {
        m_timer->invalidate();
    }
    const std::weak_ptr<ReminderSchedule> weak = weak_from_this();
    m_timer = RunLoop::main().scheduleTimer(std::max(at.timeIntervalSinceDate(now), 0.0), false, [weak] {
        if (const std::shared_ptr<ReminderSchedule> self = weak.lock()) {
            self->recompute();
        }
    });
}

void ReminderSchedule::recomputeOnNextTurn() {
    if (std::exchange(m_recomputePosted, true)) {
        return;
    }
    const std::weak_ptr<ReminderSchedule> weak = weak_from_this();
    RunLoop::main().post([weak] {
        if (const std::shared_ptr<ReminderSchedule> self = weak.lock()) {
            self->m_recomputePosted = false;
            self->recompute();
        }
    });
}
