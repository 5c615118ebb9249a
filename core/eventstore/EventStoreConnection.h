#pragma once

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "core/eventstore/EKSource.h"
#include "core/eventstore/EventRow.h"
#include "core/eventstore/RecurrenceSeries.h"
#include "core/sqlite/SqliteConnection.h"

#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// One connection of the store with the queries that read it and the repeating events it has
// already parsed. The store hands each reading thread a connection of its own; the writer's
// connection is used under the store's lock.
class EventStoreConnection {
public:
    // Occurrences of one series in one query, at most.
    static constexpr std::size_t occurrenceLimit = 10000;

    struct CalendarInfo {
        std::int64_t id = 0;
        std::shared_ptr<EKCalendar> calendar;
        QString feedPath;
        QString feedStamp;
    };

    struct Series {
        std::int64_t revision = 0;
        EventRow row;
        RecurrenceSeries series;
        std::optional<EKRecurrenceRule> rule;
    };

    SqliteResult open(const QString& path);
    SqliteConnection& sql() { return m_sql; }

    // Wraps a group of reads in one snapshot. Not for the writer inside its own transaction.
    void beginRead();
    void endRead();

    // Fresh objects, in creation order.
    std::vector<CalendarInfo> calendars();
    std::vector<std::shared_ptr<const EKSource>> sources();
    std::optional<CalendarInfo> calendarWithIdentifier(const QString& identifier);
    QString setting(const QString& key);

    std::optional<EventRow> rowWithIdentifier(const QString& identifier);
    // The single event or series of the calendar with that UID.
    std::optional<EventRow> rowWithUid(std::int64_t calendarId, const QString& uid);
    std::optional<EventRow> exceptionRow(std::int64_t seriesId, const QString& recurrenceId);
    std::vector<EventRow> exceptionRows(std::int64_t seriesId);

    // The parsed series of a series row, from the cache when the row has not changed. Null for a
    // row whose rule cannot be read.
    const Series* series(const EventRow& row);
    const Series* series(std::int64_t id, std::int64_t revision);

    std::vector<std::shared_ptr<EKEvent>>
    eventsInRange(Date start, Date end, const std::vector<std::shared_ptr<EKCalendar>>& wanted);
    std::shared_ptr<EKEvent> eventWithIdentifier(const QString& identifier);
    // The records of a calendar for export; with `uid`, only those of one resource (a series with
    // its changed occurrences, or a single event).
    std::vector<std::shared_ptr<EKEvent>> records(const QString& calendarIdentifier,
                                                  const std::optional<QString>& uid = std::nullopt);

    // Event objects of rows.
    static std::shared_ptr<EKEvent> eventWithRowFields(const EventRow& row);
    static std::shared_ptr<EKEvent> makeEvent(const EventRow& row, std::shared_ptr<EKCalendar> calendar);
    static std::shared_ptr<EKEvent> makeOccurrence(const Series& series,
                                                   const RecurrenceSeries::Occurrence& occurrence,
                                                   std::shared_ptr<EKCalendar> calendar);
    // The original start of an occurrence given as a wall time in the frame of its series.
    static Date frameDate(std::int64_t wall, bool allDay, const QString& zone);
    static RecurrenceSeries::Definition definitionOf(const EventRow& row,
                                                     std::vector<std::int64_t> replacedWalls);

private:
    std::shared_ptr<EKEvent> exceptionEvent(const EventRow& row, const EventRow& master,
                                            std::shared_ptr<EKCalendar> calendar, const Series* series);

    SqliteConnection m_sql;
    std::unordered_map<std::int64_t, Series> m_series;
};
