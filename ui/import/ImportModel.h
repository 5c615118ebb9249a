#pragma once

#include "core/eventstore/ICalendarImporter.h"
#include "core/eventstore/ICalendarReader.h"
#include "foundation/Date.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class AppSettings;
class EKCalendar;
class EventService;

// What the import screen shows of one .ics file read before: its events sorted by start, the
// events that could not be read with their reasons, and the calendar to import into (one that
// takes events; the default calendar at first). Importing writes the events that were read, all
// in one transaction, replacing those whose UID is already stored. Main thread.
class ImportModel {
public:
    // One line of the list: a repeating event with its changed occurrences is one line.
    struct Row {
        Date startDate;
        bool allDay = false;
        QString title;
    };

    ImportModel(QString path, ICalendarParseResult parsed, EventService& eventService,
                AppSettings& appSettings);

    const QString& path() const { return m_path; }
    // The file's name without its folder.
    QString fileName() const;

    const std::vector<Row>& rows() const { return m_rows; }
    // "Dec 9, 2026, 14:00", or "Dec 9, 2026, all-day".
    static QString whenText(const Row& row);

    // The events left out because they cannot be read.
    int unreadableCount() const { return static_cast<int>(m_parsed.skipped.size()); }
    // The count of unreadable events and, one a line, each with its reason, then what was read
    // otherwise than written; empty when the whole file was read as written.
    QString problemsText() const;

    // The calendars that take events, in the store's order.
    const std::vector<std::shared_ptr<EKCalendar>>& calendars() const { return m_calendars; }
    // Null only when no calendar takes events.
    std::shared_ptr<EKCalendar> selectedCalendar() const;
    int selectedCalendarIndex() const { return m_selectedCalendarIndex; }
    void selectCalendar(int index);

    // Writes the events into the selected calendar.
    ICalendarImportResult importEvents();
    // The start of the earliest event, to show its week after the import.
    std::optional<Date> firstStartDate() const;

private:
    static constexpr int maximumProblemLines = 6;

    QString m_path;
    ICalendarParseResult m_parsed;
    EventService* m_eventService;
    std::vector<Row> m_rows;
    std::vector<std::shared_ptr<EKCalendar>> m_calendars;
    int m_selectedCalendarIndex = -1;
};
