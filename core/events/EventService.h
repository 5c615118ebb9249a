#pragma once

#include "core/calendar/Holiday.h"
#include "core/events/EventList.h"
#include "core/eventstore/EKEventStore.h"
#include "core/settings/CalendarDirectory.h"
#include "foundation/Date.h"

#include <QString>

#include <memory>
#include <vector>

class AlertPresenter;
class AppSettings;
class CalendarGroup;
class Day;
class EventStoreChangeThrottler;
class Week;

// The one access layer over the event store: fetches, creates, copies, re-dates, saves and
// deletes events and calendars, reports failed writes, and offers the calendar lists.
//
// Fetches, eventByIdentifier and the calendar lists may be called from any thread; writes,
// alerts and everything else run on the main thread.
class EventService : public CalendarDirectory {
public:
    // The one instance, created on first use with the store in the data folder. Safe from any
    // thread; the first call is expected on the main thread, where the throttler must live.
    static EventService& sharedInstance();
    // Replaces the shared instance (for tests) and returns the one it replaces; null makes the
    // next use create it anew. Only while no other thread uses the service.
    static std::shared_ptr<EventService> setSharedInstance(std::shared_ptr<EventService> eventService);

    // A service on the given store, with its own throttler. Main thread.
    explicit EventService(std::shared_ptr<EKEventStore> eventStore);
    ~EventService() override;

    EventService(const EventService&) = delete;
    EventService& operator=(const EventService&) = delete;

    EKEventStore& eventStore() const { return *m_eventStore; }
    const std::shared_ptr<EKEventStore>& sharedEventStore() const { return m_eventStore; }
    EventStoreChangeThrottler& throttler() const { return *m_throttler; }
    AppSettings& appSettings() const { return *m_appSettings; }

    // Events of the visible calendars that overlap the period (ReadOnlyCheck's period rule),
    // sorted by start.
    EventList synchronousFindEventsFromDateTime(Date from, Date to) const;
    EventList synchronousFindEventsForEntireWeek(const Week& week) const;
    // The same as synchronousFindEventsForEntireWeek; callers run it on a background queue.
    EventList findEventsInWeek(const Week& week) const;
    // Events of the visible calendars that belong to the day (ReadOnlyCheck's day rule).
    EventList synchronousFindEventsForEntireDay(const Day& day) const;
    // The store's answer for the visible calendars, unfiltered, sorted by start.
    EventList synchronousFindAllEventsFromDateTime(Date from, Date to) const;
    // Null when the store does not hold the identifier.
    std::shared_ptr<EKEvent> eventByIdentifier(const QString& identifier) const;

    // A new, unsaved event at 12:00 of the day, completed by fillDefaultEventProperties.
    std::shared_ptr<EKEvent> newEventForDay(const Day& day) const;
    // One hour long, in the default calendar, with the default alarms; returns the event.
    std::shared_ptr<EKEvent> fillDefaultEventProperties(std::shared_ptr<EKEvent> event) const;
    // A copy on the date's day at the source's time of day, as many calendar days long when all-day,
    // saved as a single event; returned whether the save succeeded or not.
    std::shared_ptr<EKEvent> copyEvent(const EKEvent& event, Date date);
    // Moves the event to start at `date`; an all-day flag starts it at the beginning of that day,
    // an all-day event staying all-day keeps its number of calendar days, and an all-day event
    // made timed lasts one hour.
    void applyDate(Date date, EKEvent& event, bool allday) const;
    // Write through the store, then dispatch UserChangedEvent, whether the write succeeded or not.
    // A failure is shown with the alert presenter. True on success. Deletions, copies and saves
    // with `undo` Kept (moves) can be taken back with undoLastChange.
    bool saveEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, EKUndo undo = EKUndo::NotKept);
    bool deleteEvent(const std::shared_ptr<EKEvent>& event, EKSpan span);
    // Takes back the last deletion, copy or move made in this run, exactly as the store was before
    // it, once. False when there is none or it cannot be taken back (shown as an alert).
    bool undoLastChange();

    // Calendar lists; nothing is cached.
    std::vector<std::shared_ptr<CalendarGroup>> calendarGroups() const;
    // The calendars grouped by account: groups ordered by account kind, then title, ignoring case;
    // each group's calendars by title.
    static std::vector<std::shared_ptr<CalendarGroup>>
    groupCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars);
    std::vector<std::shared_ptr<EKCalendar>> editableCalendars() const;
    std::vector<std::shared_ptr<EKCalendar>> editableAndInvisibleCalendars() const override;
    std::vector<std::shared_ptr<EKCalendar>> visibleCalendars() const;
    std::shared_ptr<EKCalendar> systemDefaultCalendar() const override;
    // The first calendar whose platform identifier, then source-title form, then description
    // form equals the string; null when none does.
    std::shared_ptr<EKCalendar> findCalendarByIdentifier(const QString& identifier) const override;

    // Failures are shown with the alert presenter. True on success.
    bool saveCalendar(const std::shared_ptr<EKCalendar>& calendar);
    bool deleteCalendar(const std::shared_ptr<EKCalendar>& calendar);
    std::shared_ptr<EKCalendar> newCalendarForSource(std::shared_ptr<const EKSource> source) const;

    // Re-reads subscribed calendars and birthdays on the calling thread (a background queue)
    // with the network activity indicator shown meanwhile.
    void refreshSourcesIfNecessary();

    // Multi-day events for the week picker: runs of a repeating event's occurrences that follow
    // each other are joined into one; only spans of at least 25 hours count.
    static std::vector<Holiday> extractHolidaysFromEvents(const EventList& events);

    // The failure alert: the title as it stands, the error's message and "OK".
    void displayError(const StoreError& error, const QString& title) const;
    const std::shared_ptr<AlertPresenter>& alertPresenter() const { return m_alertPresenter; }
    void setAlertPresenter(std::shared_ptr<AlertPresenter> alertPresenter);

private:
    EventList sortedList(std::vector<std::shared_ptr<EKEvent>> events) const;
    std::vector<std::shared_ptr<EKEvent>> storeEvents(Date from, Date to) const;
    bool isHidden(const EKCalendar& calendar,
                  const std::vector<std::shared_ptr<EKCalendar>>& hiddenCalendars) const;
    void logFailedSave(const StoreError& error, const EKEvent& event) const;

    std::shared_ptr<EKEventStore> m_eventStore;
    std::unique_ptr<EventStoreChangeThrottler> m_throttler;
    AppSettings* m_appSettings;
    std::shared_ptr<AlertPresenter> m_alertPresenter;
};
