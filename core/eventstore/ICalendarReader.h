#pragma once

#include "core/eventstore/EKEvent.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class EKEventStore;

// Why and where a file, or a part of it, was refused.
struct ICalendarError {
    QString fileName;
    // Counting from 1; 0 when the problem concerns the whole file.
    int line = 0;
    QString problem;

    // "file.ics:12: DTSTART is missing", or "file.ics: problem" without a line.
    QString message() const;
};

struct ICalendarParseResult {
    std::vector<std::shared_ptr<EKEvent>> events;
    // The events left out because they cannot be read, each with its line and why.
    std::vector<ICalendarError> skipped;
    // What was read otherwise than written: text that is not UTF-8, an unknown zone read as
    // floating time, properties and components left out.
    std::vector<ICalendarError> warnings;
    // Set when nothing could be read: the file is no calendar, breaks a limit, or (when refusing
    // whole files) holds an event that cannot be read. No events then.
    std::optional<ICalendarError> error;
};

// Reads .ics files into unsaved event records. An event that cannot be read is skipped with its
// line and reason, or refuses the whole file; nothing half-read is returned. Each content line is
// read once, knowing its line number, so a refusal names its line without reading anything again.
// Foreign data is bounded in time and memory: nesting depth, line length, file size and the time
// zone changes a file's own VTIMEZONE may ask for.
class ICalendarReader {
public:
    // Called with the number of events read so far and the number of events in the text.
    using ProgressCallback = std::function<void(int done, int total)>;

    enum class Strictness {
        // Every readable event is read; the others are listed in `skipped`.
        SkipUnreadable,
        // The first event that cannot be read refuses the file.
        RefuseFile,
    };

    explicit ICalendarReader(EKEventStore& store);

    void setOnProgress(ProgressCallback onProgress);
    void setStrictness(Strictness strictness);

    // The events are unsaved records without a calendar: identifier = UID, changed occurrences
    // with their occurrenceDate, listed after every series. Any thread.
    ICalendarParseResult read(const QByteArray& text, const QString& fileName) const;
    ICalendarParseResult readFile(const QString& path) const;

private:
    EKEventStore& m_store;
    ProgressCallback m_onProgress;
    Strictness m_strictness = Strictness::SkipUnreadable;
};
