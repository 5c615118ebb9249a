#pragma once

#include "core/eventstore/EKAlarm.h"
#include "foundation/Date.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class SqliteStatement;

// One row of the events table: a single event, a series, or a changed occurrence of a series
// (recurrenceId set). Converts the stored text forms of dates, alarms and excluded dates.
class EventRow {
public:
    enum Kind { Short = 0, Long = 1, Series = 2 };

    // Rows lasting longer than this are kept apart so that the index over starts stays narrow.
    static constexpr double shortSpan = 3 * 86400.0;
    // The index end of an endless series.
    static constexpr double endless = 1e15;

    // The columns `readFrom` expects, in order, for a table aliased "e".
    static const char* columns();
    static constexpr int columnCount = 25;
    void readFrom(const SqliteStatement& statement, int firstColumn = 0);

    bool isSeries() const { return !rrule.isNull(); }
    bool isException() const { return !recurrenceId.isNull(); }

    // The start as a wall time in its zone (all-day: the day at 00:00).
    std::int64_t startWall() const;
    std::int64_t endWall() const;
    // The exact dates: timed rows keep their absolute dates, all-day rows are read in the zone in force.
    Date startDate() const;
    Date endDate() const;

    std::vector<std::int64_t> excludedWalls() const;
    void setExcludedWalls(const std::vector<std::int64_t>& walls);

    static QString formatAlarms(const std::vector<EKAlarm>& alarms);
    static std::vector<EKAlarm> parseAlarms(const QString& text);
    // Wall text of a wall time in the frame of a series: a date for all-day series.
    static QString formatFrameWall(std::int64_t wall, bool allDay);
    static std::optional<std::int64_t> parseFrameWall(const QString& text);

    std::int64_t id = 0;
    QString identifier;
    QString recurrenceId;
    std::int64_t seriesId = 0;
    std::int64_t calendarId = 0;
    int kind = Short;
    QString title;
    QString location;
    QString notes;
    QString url;
    bool allDay = false;
    QString tzid;
    QString dtstart;
    QString dtend;
    double startUtc = 0.0;
    double endUtc = 0.0;
    QString rrule;
    QString countEnd;
    QString exdates;
    QString alarms;
    std::int64_t revision = 0;
    // The iCalendar UID, unique within the calendar (EKEvent::calendarItemExternalIdentifier).
    QString uid;
    // The iCalendar content lines kept as they were read (EKEvent::otherProperties).
    QString otherProperties;
    int sequence = 0;
    // Seconds since 1970.
    std::optional<double> lastModified;
};
