#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class EKCalendar;
class EKEventStore;

// Exports the stored events of calendars as one iCalendar text: single events, repeating events
// with their rule and excluded dates, and changed occurrences.
class ICalendarExporter {
public:
    static QByteArray exportCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars,
                                      EKEventStore& store);
    // Replaces the file only once the whole text is written; false with *error set otherwise.
    static bool exportToFile(const QString& path, const std::vector<std::shared_ptr<EKCalendar>>& calendars,
                             EKEventStore& store, QString* error);
};
