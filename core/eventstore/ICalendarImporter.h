#pragma once

#include "core/eventstore/ICalendarReader.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class EKCalendar;
class EKEventStore;

struct ICalendarImportResult {
    // The events imported; a repeating event with its changed occurrences counts once.
    int imported = 0;
    // The events of the file left out, each with its line and why.
    std::vector<ICalendarError> skipped;
    // What was read otherwise than written (see ICalendarParseResult).
    std::vector<ICalendarError> warnings;
    // Set when nothing was imported: the file was refused, the calendar cannot take events, or
    // the store could not be written.
    std::optional<QString> error;
};

// Imports the events of an .ics file into a calendar of the store, all of them in one
// transaction. By default every readable event is imported and the others are skipped with their
// line and reason; when refusing whole files, one unreadable event imports nothing. An event whose
// UID is already stored replaces the stored event and its changed occurrences, so importing a
// file again adds nothing twice.
class ICalendarImporter {
public:
    // Called on the importing thread with steps done and steps in all: one step per event read,
    // and a last one when the events are written.
    void setOnProgress(ICalendarReader::ProgressCallback onProgress);
    void setStrictness(ICalendarReader::Strictness strictness);

    // Main thread, as every store write.
    ICalendarImportResult import(const QString& path, const std::shared_ptr<EKCalendar>& calendar,
                                 EKEventStore& store);
    // The same for text already read; `fileName` names it in messages.
    ICalendarImportResult importText(const QByteArray& text, const QString& fileName,
                                     const std::shared_ptr<EKCalendar>& calendar, EKEventStore& store);
    // The same for a file read before with ICalendarReader (on any thread), so that the events
    // written are the ones a person was shown.
    ICalendarImportResult importRead(ICalendarParseResult parsed, const std::shared_ptr<EKCalendar>& calendar,
                                     EKEventStore& store);

private:
    ICalendarImportResult save(ICalendarParseResult parsed, const std::shared_ptr<EKCalendar>& calendar,
                               EKEventStore& store);
    static std::optional<QString> calendarProblem(const std::shared_ptr<EKCalendar>& calendar);
    // A reader that reports its steps as the first steps of the import.
    ICalendarReader reader(EKEventStore& store);

    ICalendarReader::ProgressCallback m_onProgress;
    ICalendarReader::Strictness m_strictness = ICalendarReader::Strictness::SkipUnreadable;
    int m_steps = 1;
};
