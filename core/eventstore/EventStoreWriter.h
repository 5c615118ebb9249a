#pragma once

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EventRow.h"
#include "core/eventstore/StoreError.h"
#include "core/sqlite/SqliteResult.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class EventStoreConnection;
class RecurrenceSeries;

// The store's writes, run by the store inside one transaction of its writer connection; the
// store commits when a write succeeds and rolls back when it fails, so nothing is half-written.
// Event objects given are updated (identifier, occurrence, normalised all-day dates) only by
// the store after the commit: the writer works on copies the store hands it.
class EventStoreWriter {
public:
    static constexpr const char* defaultCalendarKey = "default_calendar";

    explicit EventStoreWriter(EventStoreConnection& connection);

    // The connection it writes in, inside the write's transaction.
    EventStoreConnection& connection() { return m_connection; }

    // First run: the local source "Default" with one calendar, the default for new events.
    bool ensureDefaults(StoreError* error);

    bool saveEvent(EKEvent& event, EKSpan span, StoreError* error);
    bool removeEvent(const EKEvent& event, EKSpan span, StoreError* error);
    // Records as import and subscriptions give them; `allowReadOnly` lets a feed fill its own
    // read-only calendar.
    bool saveEvents(const std::vector<std::shared_ptr<EKEvent>>& events, bool allowReadOnly,
                    StoreError* error);

    bool saveCalendar(const EKCalendar& calendar, StoreError* error);
    bool removeCalendar(const EKCalendar& calendar, StoreError* error);

    // Feeds (subscriptions, birthdays).
    std::int64_t ensureSource(const QString& title, EKSourceType type, StoreError* error);
    // Inserts a calendar of any type in the source with that id; returns its row id or 0.
    std::int64_t insertCalendar(const EKCalendar& calendar, std::int64_t sourceId, const QString& feedPath,
                                StoreError* error);
    SqliteResult setFeedStamp(std::int64_t calendarId, const QString& stamp);
    SqliteResult setFeedPath(const QString& calendarIdentifier, const QString& path);
    // Replaces every event of a feed's calendar by `events` (which get that calendar) and
    // remembers the state of the file they were read from.
    bool replaceFeedEvents(const std::shared_ptr<EKCalendar>& calendar,
                           const std::vector<std::shared_ptr<EKEvent>>& events, const QString& stamp,
                           StoreError* error);
    SqliteResult deleteEventsOfCalendar(std::int64_t calendarId);

    SqliteResult setSetting(const QString& key, const QString& value);

    // Sets the error from the connection's last failure; false.
    bool databaseFailure(StoreError* error);

    static QString formatColor(const std::optional<Color>& color);
    static QString newIdentifier();

private:
    struct CalendarCheck {
        std::int64_t id = 0;
        QString title;
        bool writable = false;
    };

    bool fail(StoreError* error, int code, const QString& message);
    std::optional<CalendarCheck> checkCalendar(const std::shared_ptr<EKCalendar>& calendar,
                                               bool allowReadOnly, StoreError* error);
    std::optional<CalendarCheck> calendarById(std::int64_t id);
    std::int64_t revision();

    // Fills the fields and dates of a row from an event; a series also gets its rule.
    void fillFields(EventRow& row, const EKEvent& event) const;
    void fillTimes(EventRow& row, const EKEvent& event, const QString& fallbackZone) const;
    bool finishSeries(EventRow& row, StoreError* error);
    bool insertRow(EventRow& row, StoreError* error);
    bool updateRow(EventRow& row, StoreError* error);
    SqliteResult deleteRow(std::int64_t id);
    // Marks a series as changed so that readers parse it again.
    SqliteResult touch(std::int64_t id);

    std::int64_t frameWall(Date date, const EventRow& series) const;
    // The original start of the occurrence an event object stands for, in the frame of `series`.
    std::int64_t occurrenceWall(const EKEvent& event, const EventRow& series) const;
    // Keeps the occurrences before `wall` and returns the changed occurrences and excluded
    // starts from `wall` on, which leave the series. A series that already ends before `wall`
    // keeps its end; one that would keep nothing is removed.
    bool cutSeries(EventRow& series, std::int64_t wall, std::vector<EventRow>* laterExceptions,
                   std::vector<std::int64_t>* laterExclusions, StoreError* error);
    // Moves the exclusions and changed occurrences a series hands on by `shift` and keeps those
    // that the finished series row `row` still has an occurrence for.
    void carryExceptions(const EventRow& row, std::int64_t shift, std::vector<std::int64_t>& exclusions,
                         std::vector<EventRow>& exceptions) const;
    bool saveOccurrence(EKEvent& event, const EventRow& series, std::int64_t wall, StoreError* error);
    bool saveSeriesFrom(EKEvent& event, EventRow series, std::int64_t wall, const CalendarCheck& calendar,
                        StoreError* error);
    bool moveSeriesCalendar(const EventRow& series, std::int64_t calendarId);

    EventStoreConnection& m_connection;
    std::optional<std::int64_t> m_revision;
};
