#pragma once

#include "core/eventstore/EKEvent.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class EKEventStore;

// Why and where a file was refused.
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
    std::optional<ICalendarError> error;
};

// Reads .ics files into unsaved event records. Bad input is refused with the file, the line and
// the problem; nothing half-read is returned. Each content line is read once, knowing its line
// number, so a refusal names its line without reading anything again.
class ICalendarReader {
public:
    // Called with the number of events read so far and the number of events in the text.
    using ProgressCallback = std::function<void(int done, int total)>;

    explicit ICalendarReader(EKEventStore& store);

    void setOnProgress(ProgressCallback onProgress);

    // The events are unsaved records without a calendar: identifier = UID, changed occurrences
    // with their occurrenceDate, listed after every series. Any thread.
    ICalendarParseResult read(const QByteArray& text, const QString& fileName) const;
    ICalendarParseResult readFile(const QString& path) const;

private:
    EKEventStore& m_store;
    ProgressCallback m_onProgress;
};
