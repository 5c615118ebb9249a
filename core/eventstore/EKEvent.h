#pragma once

#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "foundation/Date.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class EKEventStore;

// An event, or one occurrence of a repeating event. Objects handed out by the store are fresh
// copies; changes take effect with EKEventStore::saveEvent.
class EKEvent {
public:
    // A new, unsaved event: empty identifier, no calendar.
    static std::shared_ptr<EKEvent> eventWithEventStore(EKEventStore& store);

    EKEvent() = default;

    // Shared by all occurrences of a series; empty until saved.
    QString eventIdentifier() const { return m_eventIdentifier; }
    // Only for records that are not saved yet (import keeps the UIDs of its events).
    void setEventIdentifier(const QString& eventIdentifier);
    // The event's UID as its calendar's files and server know it, unique within its calendar; the
    // eventIdentifier may differ where the same UID is in two calendars. Empty for a new event.
    QString calendarItemExternalIdentifier() const { return m_calendarItemExternalIdentifier; }
    void setCalendarItemExternalIdentifier(const QString& identifier);

    // A null QString means absent.
    QString title() const { return m_title; }
    void setTitle(QString title);
    QString location() const { return m_location; }
    void setLocation(QString location);
    QString notes() const { return m_notes; }
    void setNotes(QString notes);
    QString URL() const { return m_URL; }
    void setURL(QString URL);

    Date startDate() const { return m_startDate; }
    // Left unchanged when the calendar does not allow content modifications.
    void setStartDate(Date startDate);
    Date endDate() const { return m_endDate; }
    void setEndDate(Date endDate);

    // All-day events are floating dates: each day runs from 00:00 to the next day's 00:00 in the
    // zone in force.
    bool allDay() const { return m_allDay; }
    void setAllDay(bool allDay);

    // The ICU zone the event was made in (empty = the process default at save time); times keep
    // their wall-clock time in it across daylight-saving changes.
    QString timeZone() const { return m_timeZone; }
    void setTimeZone(QString timeZone);

    std::shared_ptr<EKCalendar> calendar() const { return m_calendar; }
    void setCalendar(std::shared_ptr<EKCalendar> calendar);

    const std::vector<EKAlarm>& alarms() const { return m_alarms; }
    void setAlarms(std::vector<EKAlarm> alarms);
    void addAlarm(EKAlarm alarm);
    void removeAlarm(const EKAlarm& alarm);
    // Alarms at these offsets, in this order; an alarm already at one of them stays as it is, with
    // what another program wrote in it.
    void setAlarmOffsets(const std::vector<double>& offsets);

    const std::optional<EKRecurrenceRule>& recurrenceRule() const { return m_recurrenceRule; }
    void setRecurrenceRule(std::optional<EKRecurrenceRule> recurrenceRule);
    bool hasRecurrenceRules() const { return m_recurrenceRule.has_value(); }

    // Original starts of the occurrences excluded from the series (EXDATE).
    const std::vector<Date>& excludedOccurrenceDates() const { return m_excludedOccurrenceDates; }
    void setExcludedOccurrenceDates(std::vector<Date> dates);

    // For an occurrence of a series its original start (RECURRENCE-ID); nothing for a single
    // event, a series record or a new event. Setting it on an unsaved record makes the record the
    // changed occurrence of the series with the same identifier.
    std::optional<Date> occurrenceDate() const { return m_occurrenceDate; }
    // Forgets the occurrence's wall time.
    void setOccurrenceDate(std::optional<Date> occurrenceDate);
    // The original start as its series writes it (RECURRENCE-ID): a wall time in the series' zone,
    // or the day at 00:00 for an all-day series, in WallClock's seconds. The store sets it on the
    // occurrences it hands out: a start in an hour skipped by a clock change has no absolute date
    // that turns back into it.
    std::optional<std::int64_t> occurrenceWall() const { return m_occurrenceWall; }
    void setOccurrence(Date occurrenceDate, std::int64_t occurrenceWall);
    // Part of a series: a repeating event, or one occurrence of one (moved ones included). The
    // rows of a series share one identifier, so a change to one shows only by reading again.
    bool belongsToSeries() const { return hasRecurrenceRules() || m_occurrenceDate.has_value(); }

    // The event's iCalendar content lines this program does not edit (ORGANIZER, ATTENDEE,
    // CATEGORIES, STATUS, X- properties, components other than alarms, ...), unfolded, one a line,
    // as another program wrote them; written back unchanged.
    const QString& otherProperties() const { return m_otherProperties; }
    void setOtherProperties(QString properties);
    // The iCalendar revision counter (SEQUENCE); the store raises it with each change it saves.
    int sequence() const { return m_sequence; }
    void setSequence(int sequence);
    // When the event last changed (LAST-MODIFIED), if known.
    std::optional<Date> lastModifiedDate() const { return m_lastModifiedDate; }
    void setLastModifiedDate(std::optional<Date> date);

    // An occurrence changed on its own.
    bool isDetached() const { return m_detached; }
    void setDetached(bool detached);

    // Same identifier and same occurrence (occurrenceDate, or startDate when there is none).
    bool isEqual(const EKEvent& other) const;
    // One line for logs.
    QString description() const;

    // A copy that shares nothing mutable with this one (the calendar is copied too).
    std::shared_ptr<EKEvent> copy() const;

private:
    QString m_eventIdentifier;
    QString m_calendarItemExternalIdentifier;
    QString m_title;
    QString m_location;
    QString m_notes;
    QString m_URL;
    Date m_startDate;
    Date m_endDate;
    bool m_allDay = false;
    QString m_timeZone;
    std::shared_ptr<EKCalendar> m_calendar;
    std::vector<EKAlarm> m_alarms;
    std::optional<EKRecurrenceRule> m_recurrenceRule;
    std::vector<Date> m_excludedOccurrenceDates;
    std::optional<Date> m_occurrenceDate;
    std::optional<std::int64_t> m_occurrenceWall;
    QString m_otherProperties;
    int m_sequence = 0;
    std::optional<Date> m_lastModifiedDate;
    bool m_detached = false;
};
