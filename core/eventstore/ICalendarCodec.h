#pragma once

#include "core/eventstore/EKEvent.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
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

// One unfolded content line of an iCalendar (RFC 5545 3.1) or vCard (RFC 6350 3.2) text.
struct ICalendarContentLine {
    // Upper case, without a vCard group prefix; empty for a line that is not a content line.
    QByteArray name;
    // Names upper case; values without their quotes, several values joined by ",".
    std::vector<std::pair<QByteArray, QByteArray>> parameters;
    // As written, escapes kept.
    QByteArray value;
    // The first physical line, counting from 1.
    int line = 0;
    // The folded text in the input, without its line ending.
    qsizetype offset = 0;
    qsizetype length = 0;
    // Why the line is not a content line.
    QString problem;

    // The value of the first parameter of that (upper-case) name; a null array when absent.
    QByteArray parameter(const QByteArray& parameterName) const;
};

// Reads .ics files into unsaved event records and writes records as .ics text. Bad input is
// refused with the file, the line and the problem; nothing half-read is returned.
namespace ICalendarCodec {

inline constexpr qint64 maximumFileSize = 50LL * 1024 * 1024;
inline constexpr qsizetype maximumLineLength = 1024 * 1024;

// Called with the number of events read so far and the number of events in the text.
using ProgressCallback = std::function<void(int done, int total)>;

// The events are unsaved records without a calendar: identifier = UID, changed occurrences with
// their occurrenceDate, listed after every series. Any thread.
ICalendarParseResult parse(const QByteArray& text, const QString& fileName, EKEventStore& store,
                           const ProgressCallback& progress = {});
ICalendarParseResult parseFile(const QString& path, EKEventStore& store,
                               const ProgressCallback& progress = {});

// A VCALENDAR with one VEVENT per record and a VTIMEZONE for each zone used, CRLF line endings,
// lines folded at 75 octets.
QByteArray serialize(const std::vector<std::shared_ptr<EKEvent>>& records);

// Shared with the vCard reader.

enum class Syntax {
    ICalendar,
    // Allows group prefixes ("item1.BDAY") and parameters without a name ("TEL;HOME").
    VCard,
};

struct ContentLines {
    std::vector<ICalendarContentLine> lines;
    // Set when the text breaks a limit or holds binary data.
    int errorLine = 0;
    QString problem;
};

// Unfolds and splits the text; blank lines are skipped, lines that are not content lines come
// with their problem.
ContentLines readContentLines(const QByteArray& text, Syntax syntax);
// The first non-blank line (after a byte order mark), trimmed, and its number in *lineNumber; 0 when
// the text is blank.
QByteArray firstLine(const QByteArray& text, int* lineNumber);
// The whole file, or nothing with the problem (unreadable, larger than maximumFileSize).
std::optional<QByteArray> readFile(const QString& path, QString* problem);

// TEXT values (RFC 5545 3.3.11, RFC 6350 3.4).
QString unescapeText(const QByteArray& value);
QByteArray escapeText(const QString& text);
// Folds one content line (RFC 5545 3.1) without splitting a UTF-8 sequence and ends it with CRLF.
QByteArray foldLine(const QByteArray& line);

} // namespace ICalendarCodec
