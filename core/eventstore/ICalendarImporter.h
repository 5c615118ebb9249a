#pragma once

#include "core/eventstore/ICalendarReader.h"

#include <QByteArray>
#include <QString>

#include <memory>

class EKCalendar;
class EKEventStore;

// Imports the events of an .ics file into a calendar of the store: all of them in one
// transaction, or nothing when the file is refused. An event whose UID is already stored replaces
// the stored event and its changed occurrences, so importing a file again adds nothing twice.
class ICalendarImporter {
public:
    // Called on the importing thread with steps done and steps in all: one step per event read,
    // and a last one when the events are written.
    void setOnProgress(ICalendarReader::ProgressCallback onProgress);

    // The number of events imported (a repeating event with its changed occurrences counts once),
    // or -1 with *error set. Main thread, as every store write.
    int import(const QString& path, const std::shared_ptr<EKCalendar>& calendar, EKEventStore& store,
               QString* error);
    // The same for text already read; `fileName` names it in error messages.
    int importText(const QByteArray& text, const QString& fileName,
                   const std::shared_ptr<EKCalendar>& calendar, EKEventStore& store, QString* error);

private:
    int save(ICalendarParseResult parsed, const std::shared_ptr<EKCalendar>& calendar, EKEventStore& store,
             QString* error);
    bool refuseCalendar(const std::shared_ptr<EKCalendar>& calendar, QString* error) const;
    // A reader that reports its steps as the first steps of the import.
    ICalendarReader reader(EKEventStore& store);

    ICalendarReader::ProgressCallback m_onProgress;
    int m_steps = 1;
};
