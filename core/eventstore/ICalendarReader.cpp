#include "core/eventstore/ICalendarReader.h"

#include "core/calendar/Day.h"
#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ZoneCalendars.h"
#include "foundation/CivilDate.h"
#include "foundation/StringUtilities.h"
#include "foundation/TimeZone.h"

#include <QFileInfo>
#include <QUtf8StringView>
#include <QUuid>

#include <libical/ical.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString quoted(const QByteArray& text) {
    // Long values would drown the message.
    return QLatin1Char('"') + ContentLineReader::excerpt(text) + QLatin1Char('"');
}

// An error that ends the reading of a file; caught where the reading starts.
struct ReadFailure {
    int line;
    QString problem;
};

[[noreturn]] void fail(int line, QString problem) {
    throw ReadFailure{line, std::move(problem)};
}

// Components nest this deep at most: real files need four levels (VCALENDAR, VEVENT, VALARM; or
// VCALENDAR, VTIMEZONE, STANDARD), and the bound keeps the tree, and freeing it, small.
constexpr int maximumNesting = 16;

struct Component {
    QByteArray name;
    int beginLine = 0;
    // The text from the BEGIN line to the end of the END line.
    qsizetype beginOffset = 0;
    qsizetype endOffset = 0;
    std::vector<ContentLine> properties;
    std::vector<Component> children;
    // The first problem found inside the component; the component is not read then.
    std::optional<ReadFailure> damage;

    void damageWith(int line, QString problem) {
        if (!damage) {
            damage = ReadFailure{line, std::move(problem)};
        }
    }

    // The component's text from its BEGIN to its END line.
    QByteArray text(const QByteArray& whole) const { return whole.mid(beginOffset, endOffset - beginOffset); }

    std::vector<const ContentLine*> all(const char* propertyName) const {
        std::vector<const ContentLine*> found;
        for (const ContentLine& property : properties) {
            if (property.name == propertyName) {
                found.push_back(&property);
            }
        }
        return found;
    }

    const ContentLine* first(const char* propertyName) const {
        for (const ContentLine& property : properties) {
            if (property.name == propertyName) {
                return &property;
            }
        }
        return nullptr;
    }

    // The property that may occur at most once.
    const ContentLine* single(const char* propertyName) const {
        const std::vector<const ContentLine*> found = all(propertyName);
        if (found.size() > 1) {
            fail(found[1]->line, QStringLiteral("%1 occurs more than once in %2")
                                     .arg(QLatin1String(propertyName), ContentLineReader::excerpt(name)));
        }
        return found.empty() ? nullptr : found.front();
    }
};

// Nests the content lines into components by their BEGIN and END lines, as they are read. When
// whole files are refused, the first broken line ends the reading. Otherwise a broken line damages
// the component it is in, which is then skipped with that line; what lies outside of every
// component is left out with a warning.
class ComponentNesting {
public:
    // Takes each component of a VCALENDAR as soon as it is complete, so that a large file is never
    // held as a whole tree.
    using Taker = std::function<void(Component&&)>;

    ComponentNesting(qsizetype textSize, bool strict, std::vector<ReadFailure>& warnings,
                     std::vector<ReadFailure>& skipped, Taker take)
        : m_textSize(textSize), m_strict(strict), m_warnings(warnings), m_skipped(skipped),
          m_take(std::move(take)) {}

    std::vector<Component> read(ContentLineReader& lines) {
        while (std::optional<ContentLine> line = lines.next()) {
            if (m_ignoredDepth > 0) {
                ignore(*line);
            } else if (!line->problem.isEmpty()) {
                problem(line->line, line->problem);
            } else if (line->name == "BEGIN" || line->name == "END") {
                const QByteArray componentName = line->value.trimmed().toUpper();
                if (componentName.isEmpty()) {
                    problem(line->line, QStringLiteral("%1 without a component name")
                                            .arg(ContentLineReader::excerpt(line->name)));
                } else if (line->name == "BEGIN") {
                    begin(*line, componentName);
                } else {
                    end(*line, componentName);
                }
            } else if (m_open.empty()) {
                outside(
                    line->line,
                    QStringLiteral("%1 outside of a VCALENDAR").arg(ContentLineReader::excerpt(line->name)));
            } else {
                m_open.back().properties.push_back(std::move(*line));
            }
        }
        if (!lines.problem().isEmpty()) {
            fail(lines.problemLine(), lines.problem());
        }
        // A missing END:VCALENDAR at the end of the file loses nothing.
        while (m_open.size() > 1 || (!m_open.empty() && m_open.back().name != "VCALENDAR")) {
            if (m_strict) {
                fail(m_open.back().beginLine, QStringLiteral("BEGIN:%1 is not closed (END:%1 is missing)")
                                                  .arg(ContentLineReader::excerpt(m_open.back().name)));
            }
            closeUnclosed(m_textSize);
        }
        if (!m_open.empty()) {
            close(m_textSize);
        }
        return std::move(m_calendars);
    }

private:
    void problem(int line, QString text) {
        if (m_strict) {
            fail(line, text);
        }
        if (m_open.empty() || m_open.back().name == "VCALENDAR") {
            outside(line, QStringLiteral("%1; the line is left out").arg(text));
        } else {
            m_open.back().damageWith(line, std::move(text));
        }
    }

    // What belongs to no component is left out.
    void outside(int line, QString text) {
        if (m_strict) {
            fail(line, text);
        }
        m_warnings.push_back(ReadFailure{line, std::move(text)});
    }

    void begin(const ContentLine& line, const QByteArray& name) {
        if (m_open.empty() && name != "VCALENDAR" && m_strict) {
            fail(line.line,
                 QStringLiteral("BEGIN:%1 outside of a VCALENDAR").arg(ContentLineReader::excerpt(name)));
        }
        if (int(m_open.size()) >= maximumNesting) {
            const QString deep =
                QStringLiteral("components are nested more than %1 levels deep").arg(maximumNesting);
            if (m_strict) {
                fail(line.line, deep);
            }
            m_warnings.push_back(
                ReadFailure{line.line, deep + QStringLiteral("; what lies deeper is left out")});
            m_open.back().damageWith(line.line, deep);
            m_ignoredDepth = 0;
            ignore(line);
            return;
        }
        // Such components never nest: a second BEGIN means that the END of the first is missing.
        static const QByteArray flat[] = {"VEVENT", "VTODO", "VJOURNAL", "VTIMEZONE", "VALARM"};
        if (!m_strict && std::find(std::begin(flat), std::end(flat), name) != std::end(flat)) {
            const auto open = std::find_if(m_open.begin(), m_open.end(), [&](const Component& component) {
                return component.name == name;
            });
            const size_t keep = size_t(open - m_open.begin());
            while (m_open.size() > keep) {
                closeUnclosed(line.offset);
            }
        }
        Component component;
        component.name = name;
        component.beginLine = line.line;
        component.beginOffset = line.offset;
        m_open.push_back(std::move(component));
    }

    void end(const ContentLine& line, const QByteArray& name) {
        const auto open = std::find_if(m_open.rbegin(), m_open.rend(),
                                       [&](const Component& component) { return component.name == name; });
        if (open == m_open.rend()) {
            const QString stray =
                QStringLiteral("END:%1 without BEGIN:%1").arg(ContentLineReader::excerpt(name));
            if (m_open.empty()) {
                outside(line.line, stray);
            } else {
                problem(line.line, stray);
            }
            return;
        }
        // Components opened inside the one that ends and never closed are damaged.
        while (m_open.back().name != name) {
            const Component& inner = m_open.back();
            if (m_strict) {
                fail(line.line,
                     QStringLiteral("END:%1 found while BEGIN:%2 of line %3 is still open")
                         .arg(ContentLineReader::excerpt(name), ContentLineReader::excerpt(inner.name))
                         .arg(inner.beginLine));
            }
            closeUnclosed(line.offset);
        }
        close(line.offset + line.length);
    }

    void closeUnclosed(qsizetype endOffset) {
        Component& inner = m_open.back();
        inner.damageWith(inner.beginLine, QStringLiteral("BEGIN:%1 is not closed (END:%1 is missing)")
                                              .arg(ContentLineReader::excerpt(inner.name)));
        close(endOffset);
    }

    void close(qsizetype endOffset) {
        Component component = std::move(m_open.back());
        m_open.pop_back();
        component.endOffset = endOffset;
        if (m_open.empty()) {
            m_calendars.push_back(std::move(component));
            return;
        }
        Component& parent = m_open.back();
        if (parent.name == "VCALENDAR") {
            m_take(std::move(component));
            return;
        }
        if (component.damage) {
            parent.damageWith(component.damage->line, component.damage->problem);
        }
        parent.children.push_back(std::move(component));
    }

    // Lines inside a component nested too deep are only counted, to find its end; the events
    // among them are named as skipped.
    void ignore(const ContentLine& line) {
        if (line.name == "BEGIN") {
            ++m_ignoredDepth;
            if (line.value.trimmed().toUpper() == "VEVENT") {
                m_skipped.push_back(ReadFailure{
                    line.line, QStringLiteral("VEVENT nested more than %1 levels deep is not read")
                                   .arg(maximumNesting)});
            }
        } else if (line.name == "END") {
            --m_ignoredDepth;
        }
    }

    const qsizetype m_textSize;
    const bool m_strict;
    std::vector<ReadFailure>& m_warnings;
    std::vector<ReadFailure>& m_skipped;
    const Taker m_take;
    std::vector<Component> m_calendars;
    std::vector<Component> m_open;
    int m_ignoredDepth = 0;
};

struct IcalComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponentPointer = std::unique_ptr<icalcomponent, IcalComponentDeleter>;

struct IcalTimezoneDeleter {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using IcalTimezonePointer = std::unique_ptr<icaltimezone, IcalTimezoneDeleter>;

struct IcalIteratorDeleter {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using IcalIteratorPointer = std::unique_ptr<icalrecur_iterator, IcalIteratorDeleter>;

// Our words for what libical's X-LIC-ERROR properties say about a property it could not read.
// Unknown property names are no problem: RFC 5545 3.8.8.2 lets a reader ignore such properties;
// nor is an empty TEXT value (RFC 5545 3.3.11), which libical refuses as every empty value.
std::optional<QString> libicalComplaint(icalcomponent* holder, const ContentLine& property) {
    icalproperty* error = icalcomponent_get_first_property(holder, ICAL_XLICERROR_PROPERTY);
    if (!error) {
        return std::nullopt;
    }
    icalparameter* type = icalproperty_get_first_parameter(error, ICAL_XLICERRORTYPE_PARAMETER);
    const icalparameter_xlicerrortype kind =
        type ? icalparameter_get_xlicerrortype(type) : ICAL_XLICERRORTYPE_NONE;
    const QString name = ContentLineReader::excerpt(property.name);
    const icalproperty_kind propertyKind = icalproperty_string_to_kind(property.name.constData());
    if (propertyKind == ICAL_X_PROPERTY || propertyKind == ICAL_NO_PROPERTY) {
        return std::nullopt;
    }
    if (property.value.trimmed().isEmpty()) {
        if (icalproperty_kind_to_value_kind(propertyKind) == ICAL_TEXT_VALUE) {
            return std::nullopt;
        }
        return QStringLiteral("%1 has no value").arg(name);
    }
    switch (kind) {
    case ICAL_XLICERRORTYPE_PARAMETERNAMEPARSEERROR:
    case ICAL_XLICERRORTYPE_PARAMETERVALUEPARSEERROR:
        return QStringLiteral("a parameter of %1 cannot be read").arg(name);
    default:
        return QStringLiteral("malformed %1 value %2").arg(name, quoted(property.value));
    }
}

// A present but empty text stays distinct from an absent one (a null QString).
QString presentText(QString text) {
    return text.isNull() ? QStringLiteral("") : text;
}

int number(const QByteArray& text, qsizetype from, qsizetype length) {
    int value = 0;
    for (qsizetype i = from; i < from + length; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// DATE or DATE-TIME (RFC 5545 3.3.4, 3.3.5) in the basic format.
std::optional<DateTimeValue> readDateTimeValue(const QByteArray& text) {
    const qsizetype size = text.size();
    if (size != 8 && size != 15 && size != 16) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < size; ++i) {
        const bool digitExpected = i != 8 && i != 15;
        if (digitExpected != isDigit(text[i])) {
            return std::nullopt;
        }
    }
    DateTimeValue value;
    value.year = number(text, 0, 4);
    value.month = number(text, 4, 2);
    value.day = number(text, 6, 2);
    value.isDate = size == 8;
    if (!value.isDate) {
        if (text[8] != 'T' && text[8] != 't') {
            return std::nullopt;
        }
        value.hour = number(text, 9, 2);
        value.minute = number(text, 11, 2);
        value.second = number(text, 13, 2);
        if (size == 16) {
            if (text[15] != 'Z' && text[15] != 'z') {
                return std::nullopt;
            }
            value.isUtc = true;
        }
    }
    if (value.year < 1 || !CivilDate::isValid(value.year, value.month, value.day) || value.hour > 23 ||
        value.minute > 59 || value.second > 60) {
        return std::nullopt;
    }
    return value;
}

struct DurationValue {
    bool negative = false;
    qint64 days = 0;
    qint64 seconds = 0;

    qint64 exactSeconds() const { return (negative ? -1 : 1) * (days * 86400 + seconds); }
};

// RFC 5545 3.3.6; weeks count as nominal days.
std::optional<DurationValue> readDurationValue(const QByteArray& text) {
    DurationValue value;
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        value.negative = text[i] == '-';
        ++i;
    }
    if (i >= size || text[i] != 'P') {
        return std::nullopt;
    }
    ++i;
    bool inTime = false;
    bool anyTimePart = false;
    bool anyPart = false;
    int lastRank = -1;
    while (i < size) {
        if (text[i] == 'T') {
            if (inTime) {
                return std::nullopt;
            }
            inTime = true;
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < size && isDigit(text[i])) {
            ++i;
        }
        if (i == start || i - start > 9 || i >= size) {
            return std::nullopt;
        }
        const int amount = number(text, start, i - start);
        const char unit = text[i++];
        static const char units[] = "WDHMS";
        const char* found = std::strchr(units, unit);
        // strchr also finds the terminating NUL.
        if (!found || unit == '\0') {
            return std::nullopt;
        }
        const int rank = int(found - units);
        if (rank <= lastRank || (rank >= 2) != inTime) {
            return std::nullopt;
        }
        lastRank = rank;
        anyPart = true;
        anyTimePart = anyTimePart || inTime;
        switch (unit) {
        case 'W':
            value.days += qint64(amount) * 7;
            break;
        case 'D':
            value.days += amount;
            break;
        case 'H':
            value.seconds += qint64(amount) * 3600;
            break;
        case 'M':
            value.seconds += qint64(amount) * 60;
            break;
        default:
            value.seconds += amount;
            break;
        }
    }
    if (!anyPart || (inTime && !anyTimePart)) {
        return std::nullopt;
    }
    return value;
}

// The rule as libical is given it, or nothing with the problem. RFC 7529: RSCALE=GREGORIAN with
// SKIP=OMIT is the plain rule; other calendars' rules are not read. libical never sees RSCALE: it
// keeps the name in memory that nothing frees.
std::optional<QByteArray> plainRule(const QByteArray& rule, QString* problem) {
    QByteArray scale;
    QByteArray skip;
    QList<QByteArray> kept;
    for (const QByteArray& part : rule.split(';')) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = part.left(equals).trimmed().toUpper();
        const QByteArray value = equals < 0 ? QByteArray() : part.mid(equals + 1).trimmed().toUpper();
        if (name == "RSCALE") {
            scale = value;
        } else if (name == "SKIP") {
            skip = value;
        } else {
            kept.append(part);
        }
    }
    if (!scale.isNull() && scale != "GREGORIAN") {
        *problem = QStringLiteral("RSCALE=%1: rules in calendars other than the Gregorian are not supported")
                       .arg(QString::fromLatin1(scale.left(40)));
        return std::nullopt;
    }
    if (!skip.isNull() && skip != "OMIT") {
        *problem = scale.isNull()
                       ? QStringLiteral("SKIP without RSCALE")
                       : QStringLiteral("SKIP=%1 is not supported").arg(QString::fromLatin1(skip.left(40)));
        return std::nullopt;
    }
    bool hasFrequency = false;
    for (const QByteArray& part : kept) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = part.left(equals).trimmed().toUpper();
        if (name == "FREQ") {
            hasFrequency = true;
        } else if (name == "BYMONTH") {
            for (const QByteArray& month : part.mid(equals + 1).split(',')) {
                bool ok = false;
                const int number = month.toInt(&ok);
                if (!ok || number < 1 || number > 12) {
                    *problem = QStringLiteral("BYMONTH %1 is not a month").arg(quoted(month));
                    return std::nullopt;
                }
            }
        }
    }
    if (!hasFrequency) {
        *problem = QStringLiteral("FREQ is missing");
        return std::nullopt;
    }
    return kept.join(';');
}

// The fields of a DATE-TIME for libical, without a zone.
icaltimetype icalDateTime(const DateTimeValue& value) {
    icaltimetype time = icaltime_null_time();
    time.year = value.year;
    time.month = value.month;
    time.day = value.day;
    time.hour = value.hour;
    time.minute = value.minute;
    time.second = value.second;
    return time;
}

// The zone a TZID stands for, or how a time without TZID is meant.
struct Zone {
    enum class Kind { Floating, Utc, Icu, Custom };
    Kind kind = Kind::Floating;
    QString icuName;
    icaltimezone* custom = nullptr;
};

struct TimeValue {
    DateTimeValue value;
    Zone zone;
};

// The earliest and latest moments an event may have: what the year fields of iCalendar's DATE and
// DATE-TIME can write in any zone, so that every export imports back.
const Date earliestDate = Day(1, 1, 2).beginDateTime();
const Date latestDate = Day(9999, 12, 30).beginDateTime();

// Time zone changes a VTIMEZONE observance may make in a year; real zones make one or two.
constexpr int maximumChangesPerYear = 12;
// libical computes a zone's changes up to this year and repeats the last one after it.
constexpr int lastZoneYear = 2037;

// One reading of an iCalendar text into event records.
class Reading {
public:
    Reading(const QByteArray& text, EKEventStore& store, const ICalendarReader::ProgressCallback& progress,
            bool strict)
        : m_text(text), m_store(store), m_progress(progress), m_strict(strict),
          m_defaultZoneName(TimeZone::defaultTimeZone().name()) {}

    std::vector<std::shared_ptr<EKEvent>> read() {
        m_allUtf8 = QUtf8StringView(m_text).isValidUtf8();
        // For the progress: every event begins with this line, nearly always in capitals.
        if (m_progress) {
            m_expectedEvents = int(m_text.count("BEGIN:VEVENT") + m_text.count("begin:vevent"));
        }
        ContentLineReader lines(m_text, ContentLineReader::Syntax::ICalendar);
        std::vector<Component> topLevel;
        try {
            topLevel = ComponentNesting(m_text.size(), m_strict, m_warnings, m_skipped,
                                        [this](Component&& component) { take(std::move(component)); })
                           .read(lines);
        } catch (const ReadFailure&) {
            // A broken limit anywhere in the text is reported before a broken structure.
            lines.skipToEnd();
            if (!lines.problem().isEmpty()) {
                fail(lines.problemLine(), lines.problem());
            }
            throw;
        }
        for (const Component& component : topLevel) {
            if (component.name == "VCALENDAR") {
                checkVersion(component);
            } else {
                skipEventsWithin(component, QStringLiteral("outside of a VCALENDAR"));
            }
        }
        // Events that use a zone whose VTIMEZONE came after them.
        for (const Component& event : m_deferred) {
            readOne(event);
        }
        m_deferred.clear();
        for (const auto& [kind, countAndLine] : m_otherKinds) {
            m_warnings.push_back(ReadFailure{
                countAndLine.second,
                QStringLiteral("%1 %2 left out: only events (VEVENT) are imported")
                    .arg(countAndLine.first)
                    .arg(countAndLine.first == 1
                             ? ContentLineReader::excerpt(kind) + QStringLiteral(" is")
                             : ContentLineReader::excerpt(kind) + QStringLiteral(" components are"))});
        }
        // Refusing whole files, the first event that cannot be read refuses this one; it is known
        // only once the structure of the whole file is, which is refused first.
        if (m_strict && !m_skipped.empty()) {
            throw *std::min_element(
                m_skipped.begin(), m_skipped.end(),
                [](const ReadFailure& a, const ReadFailure& b) { return a.line < b.line; });
        }
        if (m_progress && m_done > 0) {
            m_progress(m_done, m_done);
        }
        return linkOccurrences();
    }

    std::vector<ReadFailure> m_skipped;
    std::vector<ReadFailure> m_warnings;

private:
    struct Record {
        std::shared_ptr<EKEvent> event;
        QString uid;
        int line = 0;
        bool cancelled = false;
        QByteArray recurrenceIdText;
    };

    void skip(const ReadFailure& failure) { m_skipped.push_back(failure); }

    void warn(int line, QString problem) { m_warnings.push_back(ReadFailure{line, std::move(problem)}); }

    // A component of a VCALENDAR, just complete: an event is read at once (unless a zone it uses
    // is still to come), a time zone kept for the events, anything else counted and let go.
    void take(Component&& component) {
        for (const Component& child : component.children) {
            skipEventsWithin(child,
                             QStringLiteral("inside %1").arg(ContentLineReader::excerpt(component.name)));
        }
        if (component.name == "VEVENT") {
            if (zonesToCome(component)) {
                m_deferred.push_back(std::move(component));
            } else {
                readOne(component);
            }
        } else if (component.name == "VTIMEZONE") {
            if (const ContentLine* tzid = component.first("TZID")) {
                const QString name = unescape(*tzid);
                m_timezones.push_back(std::make_unique<Component>(std::move(component)));
                m_timezoneComponents.emplace(name, m_timezones.back().get());
            }
        } else if (component.name == "VTODO" || component.name == "VJOURNAL") {
            auto& [count, firstLine] = m_otherKinds[component.name];
            firstLine = count++ == 0 ? component.beginLine : firstLine;
        }
    }

    // Whether the event names a zone that neither ICU nor a VTIMEZONE read so far defines.
    bool zonesToCome(const Component& event) {
        std::vector<const Component*> pending{&event};
        for (size_t next = 0; next < pending.size(); ++next) {
            for (const ContentLine& property : pending[next]->properties) {
                const QByteArray tzid = property.parameter("TZID");
                if (!tzid.isNull() && !m_zones.count(tzid) && !m_zoneFailures.count(tzid)) {
                    const QString name = decode(tzid, property.line);
                    if (!m_timezoneComponents.count(name) && !icuZoneName(name)) {
                        return true;
                    }
                }
            }
            for (const Component& child : pending[next]->children) {
                pending.push_back(&child);
            }
        }
        return false;
    }

    void readOne(const Component& event) {
        try {
            if (event.damage) {
                throw *event.damage;
            }
            readEvent(event);
        } catch (const ReadFailure& failure) {
            skip(failure);
        }
        ++m_done;
        const int step = std::max(1, m_expectedEvents / 100);
        if (m_progress && m_done % step == 0 && m_done < m_expectedEvents) {
            m_progress(m_done, m_expectedEvents);
        }
    }

    // RFC 5545 3.1.4 asks for UTF-8; older writers used Latin-1 (or Windows-1252, which agrees with
    // it on letters). A value that is not UTF-8 is read as Latin-1, with one warning for the file.
    ContentLineReader::Encoding encodingOf(const QByteArray& value, int line) {
        if (m_allUtf8 || QUtf8StringView(value).isValidUtf8()) {
            return ContentLineReader::Encoding::Utf8;
        }
        if (!m_warnedAboutEncoding) {
            m_warnedAboutEncoding = true;
            warn(line, QStringLiteral("the text is not UTF-8; it is read as Latin-1 (as is any other such "
                                      "text in the file)"));
        }
        return ContentLineReader::Encoding::Latin1;
    }

    QString decode(const QByteArray& text, int line) {
        return ContentLineReader::decode(text, encodingOf(text, line));
    }
    QString unescape(const ContentLine& property) {
        return ContentLineReader::unescapeText(property.value, encodingOf(property.value, property.line));
    }

    // Events nested where no event belongs, such as inside a VTIMEZONE, are not read.
    void skipEventsWithin(const Component& top, const QString& where) {
        std::vector<const Component*> pending{&top};
        while (!pending.empty()) {
            const Component* component = pending.back();
            pending.pop_back();
            if (component->name == "VEVENT") {
                skip(ReadFailure{component->beginLine, QStringLiteral("VEVENT %1 is not read").arg(where)});
            }
            for (const Component& child : component->children) {
                pending.push_back(&child);
            }
        }
    }

    void checkVersion(const Component& calendar) {
        if (const ContentLine* version = calendar.first("VERSION")) {
            if (version->value.trimmed() != "2.0") {
                fail(version->line, QStringLiteral("iCalendar version %1 is not supported (only 2.0)")
                                        .arg(quoted(version->value)));
            }
        }
    }

    static void checkRepresentable(Date date, int line, const char* what) {
        if (date < earliestDate || date > latestDate) {
            fail(line, QStringLiteral("%1 lies outside the years 1 to 9999").arg(QLatin1String(what)));
        }
    }

    void readEvent(const Component& component) {
        const std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(m_store);
        const ContentLine* startProperty = component.single("DTSTART");
        if (!startProperty) {
            fail(component.beginLine, QStringLiteral("DTSTART is missing"));
        }
        const TimeValue start = readTime(*startProperty);
        const bool allDay = start.value.isDate;
        const Date startDate = toDate(start);
        checkRepresentable(startDate, startProperty->line, "DTSTART");
        const QString zoneName = allDay ? QString() : eventZoneName(start.zone);
        const Date endDate = readEnd(component, start, startDate, zoneName);
        checkRepresentable(endDate, component.beginLine, "the end of the event");
        event->setAllDay(allDay);
        event->setTimeZone(zoneName);
        event->setStartDate(startDate);
        event->setEndDate(endDate);

        event->setTitle(text(component, "SUMMARY"));
        event->setLocation(text(component, "LOCATION"));
        event->setNotes(text(component, "DESCRIPTION"));
        if (const ContentLine* url = component.first("URL")) {
            // A URI value, not TEXT: nothing to unescape (RFC 5545 3.3.13).
            event->setURL(presentText(decode(url->value.trimmed(), url->line)));
        }

        const std::vector<const ContentLine*> rules = component.all("RRULE");
        if (rules.size() > 1) {
            fail(rules[1]->line, QStringLiteral("more than one RRULE in an event is not supported"));
        }
        if (!rules.empty()) {
            event->setRecurrenceRule(readRule(*rules.front()));
        }
        if (std::any_of(component.properties.begin(), component.properties.end(),
                        [](const ContentLine& property) {
                            return property.name == "RDATE" && !property.value.trimmed().isEmpty();
                        })) {
            warn(component.beginLine,
                 QStringLiteral("the RDATE dates of the event are not supported and left out"));
        }

        std::vector<Date> excluded;
        for (const ContentLine* property : component.all("EXDATE")) {
            for (const TimeValue& value : readTimes(*property)) {
                excluded.push_back(occurrenceDate(value, start));
            }
        }
        std::sort(excluded.begin(), excluded.end());
        excluded.erase(std::unique(excluded.begin(), excluded.end()), excluded.end());
        event->setExcludedOccurrenceDates(std::move(excluded));

        for (const Component& child : component.children) {
            if (child.name == "VALARM") {
                event->addAlarm(readAlarm(child, startDate, endDate));
            }
        }

        Record record;
        record.event = event;
        record.line = component.beginLine;
        const ContentLine* uid = component.single("UID");
        record.uid = uid ? unescape(*uid).trimmed() : QString();
        if (const ContentLine* status = component.single("STATUS")) {
            record.cancelled = status->value.trimmed().toUpper() == "CANCELLED";
        }
        const ContentLine* recurrenceId = component.single("RECURRENCE-ID");
        if (recurrenceId) {
            if (record.uid.isEmpty()) {
                fail(recurrenceId->line, QStringLiteral("RECURRENCE-ID in an event without UID"));
            }
            const TimeValue original = readTime(*recurrenceId);
            event->setOccurrenceDate(occurrenceDate(original, start));
            record.recurrenceIdText = recurrenceId->value.trimmed();
        }
        // What the own checks above let through, libical may still refuse; the event's identity is
        // taken only once nothing refuses it.
        checkWithLibical(component);
        if (recurrenceId) {
            if (recurrenceId->parameter("RANGE").toUpper() == "THISANDFUTURE") {
                warn(recurrenceId->line,
                     QStringLiteral("RANGE=THISANDFUTURE is read as this occurrence only"));
            }
            const auto key = std::make_pair(record.uid, event->occurrenceDate()->timeIntervalSince1970());
            if (const auto [found, added] = m_occurrenceLines.emplace(key, record.line); !added) {
                fail(record.line,
                     QStringLiteral("the occurrence %1 of UID %2 is already changed by the event on line %3")
                         .arg(quoted(record.recurrenceIdText), quoted(record.uid.toUtf8()))
                         .arg(found->second));
            }
        } else {
            if (record.uid.isEmpty()) {
                record.uid = generatedUid(component);
            }
            if (const auto [found, added] = m_masterLines.emplace(record.uid, record.line); !added) {
                fail(record.line, QStringLiteral("UID %1 is already used by the event on line %2")
                                      .arg(quoted(record.uid.toUtf8()))
                                      .arg(found->second));
            }
        }
        event->setEventIdentifier(record.uid);
        (record.recurrenceIdText.isNull() ? m_masters : m_occurrences).push_back(std::move(record));
    }

    EKRecurrenceRule readRule(const ContentLine& property) const {
        const QByteArray ruleText = property.value.trimmed();
        QString problem;
        std::optional<EKRecurrenceRule> rule;
        if (const std::optional<QByteArray> plain = plainRule(ruleText, &problem)) {
            const QString plainText = QString::fromUtf8(*plain);
            rule = EKRecurrenceRule::fromRRule(plainText, &problem);
            // The store's account of the problem quotes the whole rule; the excerpt below is enough.
            problem.remove(QStringLiteral("“%1” ").arg(plainText));
            if (problem.endsWith(QLatin1String(" is not valid."))) {
                problem.clear();
            }
        }
        if (!rule) {
            fail(property.line,
                 QStringLiteral("invalid RRULE %1%2")
                     .arg(quoted(ruleText), problem.isEmpty() ? QString() : QStringLiteral(": ") + problem));
        }
        return *rule;
    }

    // Properties the reading above takes care of itself; libical checks the others.
    static bool readHere(const Component& component, const QByteArray& name) {
        if (component.name == "VALARM") {
            return name == "TRIGGER";
        }
        static const char* const own[] = {
            "DTSTART", "DTEND", "DURATION", "RRULE",    "RDATE",       "EXDATE", "EXRULE", "RECURRENCE-ID",
            "TRIGGER", "UID",   "SUMMARY",  "LOCATION", "DESCRIPTION", "URL",    "STATUS", "TZID"};
        return std::any_of(std::begin(own), std::end(own),
                           [&](const char* candidate) { return name == candidate; });
    }

    // Gives libical every other property of the component and of its children in one text, each
    // alone in a VEVENT of its own, so that a complaint belongs to one property: libical returns
    // the VEVENTs in the order of the text. A complaint refuses the event when whole files are
    // refused; otherwise the property is left out with a warning, as the event does not need it.
    void checkWithLibical(const Component& component) {
        std::vector<const ContentLine*> properties;
        std::vector<const Component*> pending{&component};
        for (size_t next = 0; next < pending.size(); ++next) {
            for (const ContentLine& property : pending[next]->properties) {
                if (!readHere(*pending[next], property.name)) {
                    properties.push_back(&property);
                }
            }
            for (const Component& child : pending[next]->children) {
                pending.push_back(&child);
            }
        }
        if (properties.empty()) {
            return;
        }
        QByteArray text;
        for (const ContentLine* property : properties) {
            text.append("BEGIN:VEVENT\r\n")
                .append(QByteArrayView(m_text).sliced(property->offset, property->length))
                .append("\r\nEND:VEVENT\r\n");
        }
        const IcalComponentPointer parsed(icalcomponent_new_from_string(text.constData()));
        // Several top-level components come inside an XROOT.
        std::vector<icalcomponent*> holders;
        if (parsed && icalcomponent_isa(parsed.get()) == ICAL_XROOT_COMPONENT) {
            for (icalcomponent* child = icalcomponent_get_first_component(parsed.get(), ICAL_ANY_COMPONENT);
                 child; child = icalcomponent_get_next_component(parsed.get(), ICAL_ANY_COMPONENT)) {
                holders.push_back(child);
            }
        } else if (parsed) {
            holders.push_back(parsed.get());
        }
        if (holders.size() != properties.size()) {
            fail(component.beginLine,
                 QStringLiteral("the %1 cannot be read").arg(ContentLineReader::excerpt(component.name)));
        }
        for (size_t i = 0; i < holders.size(); ++i) {
            if (std::optional<QString> complaint = libicalComplaint(holders[i], *properties[i])) {
                if (m_strict) {
                    fail(properties[i]->line, *complaint);
                }
                warn(properties[i]->line, *complaint + QStringLiteral("; the property is left out"));
            }
        }
    }

    // The identifier of an event without UID comes from its text, so that importing the same file
    // again replaces the event instead of adding it twice.
    QString generatedUid(const Component& component) {
        static const QUuid space(QStringLiteral("{5d3c7a2e-9f41-4b8e-a6c2-0e7b1f4d8a93}"));
        const QByteArray data = component.text(m_text);
        QString uid = QUuid::createUuidV5(space, data).toString(QUuid::WithoutBraces);
        for (int copy = 2; m_masterLines.count(uid) != 0; ++copy) {
            uid = QUuid::createUuidV5(space, data + QByteArray::number(copy)).toString(QUuid::WithoutBraces);
        }
        return uid;
    }

    QString text(const Component& component, const char* propertyName) {
        const ContentLine* property = component.first(propertyName);
        if (!property) {
            return QString();
        }
        return presentText(unescape(*property));
    }

    Date readEnd(const Component& component, const TimeValue& start, Date startDate,
                 const QString& zoneName) {
        const ContentLine* endProperty = component.single("DTEND");
        const ContentLine* durationProperty = component.single("DURATION");
        const bool allDay = start.value.isDate;
        const Day startDay(start.value.year, start.value.month, start.value.day);
        if (endProperty && durationProperty) {
            fail(durationProperty->line, QStringLiteral("DTEND and DURATION are both given"));
        }
        if (endProperty) {
            const TimeValue end = readTime(*endProperty);
            if (end.value.isDate != allDay) {
                fail(endProperty->line, allDay
                                            ? QStringLiteral("DTEND is a date-time but DTSTART is a date")
                                            : QStringLiteral("DTEND is a date but DTSTART is a date-time"));
            }
            Date endDate;
            if (allDay) {
                const Day endDay(end.value.year, end.value.month, end.value.day);
                if (endDay < startDay) {
                    fail(endProperty->line, QStringLiteral("DTEND is before DTSTART"));
                }
                // An end on the start day itself still means that one day.
                endDate = (endDay == startDay ? startDay.nextDay() : endDay).beginDateTime();
            } else {
                endDate = toDate(end);
                if (endDate < startDate) {
                    fail(endProperty->line, QStringLiteral("DTEND is before DTSTART"));
                }
            }
            checkRepresentable(endDate, endProperty->line, "DTEND");
            return endDate;
        }
        if (durationProperty) {
            const std::optional<DurationValue> duration =
                readDurationValue(durationProperty->value.trimmed());
            if (!duration) {
                fail(durationProperty->line,
                     QStringLiteral("malformed DURATION value %1").arg(quoted(durationProperty->value)));
            }
            if (duration->negative && duration->exactSeconds() != 0) {
                fail(durationProperty->line, QStringLiteral("DURATION is negative"));
            }
            // Longer than the years that can be written: the end cannot be either.
            const qint64 daysAtMost =
                CivilDate::daysFromCivil(10000, 1, 1) - CivilDate::daysFromCivil(1, 1, 1);
            if (duration->days + duration->seconds / 86400 > daysAtMost) {
                fail(durationProperty->line, QStringLiteral("DURATION ends after the year 9999"));
            }
            Date endDate;
            if (allDay) {
                const qint64 days = duration->days + (duration->seconds + 86399) / 86400;
                endDate = startDay.addDays(int(std::max<qint64>(days, 1))).beginDateTime();
            } else {
                // Zones only the file defines are read as UTC, so the event's zone fits every case.
                const Date afterDays = m_calendars.addDays(zoneName, startDate, int(duration->days));
                endDate = afterDays.addingTimeInterval(double(duration->seconds));
            }
            if (endDate > latestDate) {
                fail(durationProperty->line, QStringLiteral("DURATION ends after the year 9999"));
            }
            return endDate;
        }
        // RFC 5545 3.6.1: a date lasts the day, a date-time nothing.
        return allDay ? startDay.nextDay().beginDateTime() : startDate;
    }

    EKAlarm readAlarm(const Component& alarm, Date startDate, Date endDate) {
        const ContentLine* trigger = alarm.single("TRIGGER");
        if (!trigger) {
            fail(alarm.beginLine, QStringLiteral("VALARM has no TRIGGER"));
        }
        const QByteArray valueType = trigger->parameter("VALUE").toUpper();
        double offset = 0;
        if (valueType == "DATE-TIME") {
            const TimeValue when = readTime(*trigger);
            offset = toDate(when).timeIntervalSinceDate(startDate);
        } else {
            if (!valueType.isNull() && valueType != "DURATION") {
                fail(trigger->line, QStringLiteral("unsupported VALUE=%1 for TRIGGER")
                                        .arg(ContentLineReader::excerpt(valueType)));
            }
            const std::optional<DurationValue> duration = readDurationValue(trigger->value.trimmed());
            if (!duration) {
                fail(trigger->line, QStringLiteral("malformed TRIGGER value %1").arg(quoted(trigger->value)));
            }
            offset = double(duration->exactSeconds());
            const QByteArray related = trigger->parameter("RELATED").toUpper();
            if (related == "END") {
                offset += endDate.timeIntervalSinceDate(startDate);
            } else if (!related.isNull() && related != "START") {
                fail(trigger->line, QStringLiteral("unknown RELATED value %1").arg(quoted(related)));
            }
        }
        checkRepresentable(startDate.addingTimeInterval(offset), trigger->line, "the TRIGGER");
        return EKAlarm::alarmWithRelativeOffset(offset);
    }

    // An empty value, or an empty item in a list, names no date: nothing is lost leaving it out.
    std::vector<TimeValue> readTimes(const ContentLine& property) {
        std::vector<TimeValue> values;
        for (const QByteArray& item : property.value.split(',')) {
            if (!item.trimmed().isEmpty()) {
                values.push_back(readTime(property, item));
            }
        }
        return values;
    }

    TimeValue readTime(const ContentLine& property) { return readTime(property, property.value); }

    TimeValue readTime(const ContentLine& property, const QByteArray& text) {
        const QString name = ContentLineReader::excerpt(property.name);
        const QByteArray valueType = property.parameter("VALUE").toUpper();
        if (!valueType.isNull() && valueType != "DATE" && valueType != "DATE-TIME") {
            fail(property.line, QStringLiteral("unsupported VALUE=%1 for %2")
                                    .arg(ContentLineReader::excerpt(valueType), name));
        }
        const std::optional<DateTimeValue> value = readDateTimeValue(text.trimmed());
        if (!value || (valueType == "DATE" && !value->isDate) ||
            (valueType == "DATE-TIME" && value->isDate)) {
            fail(property.line, QStringLiteral("malformed %1 value %2").arg(name, quoted(text)));
        }
        TimeValue time;
        time.value = *value;
        if (value->isDate) {
            return time;
        }
        if (value->isUtc) {
            time.zone.kind = Zone::Kind::Utc;
            return time;
        }
        const QByteArray tzid = property.parameter("TZID");
        if (!tzid.isNull()) {
            time.zone = resolveZone(tzid, property.line);
        }
        return time;
    }

    Date toDate(const TimeValue& time) {
        const DateTimeValue& value = time.value;
        if (value.isDate) {
            return Day(value.year, value.month, value.day).beginDateTime();
        }
        switch (time.zone.kind) {
        case Zone::Kind::Floating:
            return m_calendars.date(m_defaultZoneName, value);
        case Zone::Kind::Utc:
            return m_calendars.date(QStringLiteral("UTC"), value);
        case Zone::Kind::Icu:
            return m_calendars.date(time.zone.icuName, value);
        case Zone::Kind::Custom:
            break;
        }
        icaltimetype local = icalDateTime(value);
        local.zone = time.zone.custom;
        return Date::withTimeIntervalSince1970(double(icaltime_as_timet_with_zone(local, time.zone.custom)));
    }

    // The original start an EXDATE or RECURRENCE-ID names. A date in a series of date-times names
    // the occurrence on that day; a date-time in a series of dates names its day.
    Date occurrenceDate(const TimeValue& value, const TimeValue& start) {
        if (start.value.isDate) {
            return Day(value.value.year, value.value.month, value.value.day).beginDateTime();
        }
        if (value.value.isDate) {
            TimeValue onThatDay = start;
            onThatDay.value.year = value.value.year;
            onThatDay.value.month = value.value.month;
            onThatDay.value.day = value.value.day;
            return toDate(onThatDay);
        }
        return toDate(value);
    }

    QString eventZoneName(const Zone& zone) const {
        switch (zone.kind) {
        case Zone::Kind::Floating:
            return m_defaultZoneName;
        case Zone::Kind::Icu:
            return zone.icuName;
        case Zone::Kind::Utc:
        case Zone::Kind::Custom:
            break;
        }
        return QStringLiteral("UTC");
    }

    static std::optional<QString> icuZoneName(const QString& name) {
        if (TimeZone::withName(name)) {
            return name;
        }
        // Some writers put a path before the Olson name ("/example.org/2024/Europe/Berlin").
        if (name.startsWith(QLatin1Char('/'))) {
            for (qsizetype slash = name.indexOf(QLatin1Char('/'), 1); slash >= 0;
                 slash = name.indexOf(QLatin1Char('/'), slash + 1)) {
                const QString rest = name.mid(slash + 1);
                if (rest.contains(QLatin1Char('/')) && TimeZone::withName(rest)) {
                    return rest;
                }
            }
        }
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString windowsMatch;
        icu::TimeZone::getIDForWindowsID(StringUtilities::toUnicodeString(name), nullptr, windowsMatch,
                                         status);
        if (U_SUCCESS(status) && !windowsMatch.isEmpty()) {
            return StringUtilities::fromUnicodeString(windowsMatch);
        }
        return std::nullopt;
    }

    // Each TZID is resolved once; a zone that cannot be read refuses every event that uses it.
    Zone resolveZone(const QByteArray& tzid, int line) {
        if (auto found = m_zones.find(tzid); found != m_zones.end()) {
            return found->second;
        }
        if (auto failed = m_zoneFailures.find(tzid); failed != m_zoneFailures.end()) {
            throw failed->second;
        }
        try {
            const Zone zone = newZone(tzid, line);
            m_zones.emplace(tzid, zone);
            return zone;
        } catch (const ReadFailure& failure) {
            m_zoneFailures.emplace(tzid, failure);
            throw;
        }
    }

    Zone newZone(const QByteArray& tzid, int line) {
        const QString name = decode(tzid, line);
        Zone zone;
        const auto definition = m_timezoneComponents.find(name);
        std::optional<QString> icuName = icuZoneName(name);
        if (!icuName && definition != m_timezoneComponents.end()) {
            if (const ContentLine* location = definition->second->first("X-LIC-LOCATION")) {
                const QString locationName = unescape(*location).trimmed();
                if (TimeZone::withName(locationName)) {
                    icuName = locationName;
                }
            }
        }
        if (icuName) {
            zone.kind = Zone::Kind::Icu;
            zone.icuName = *icuName;
        } else if (definition != m_timezoneComponents.end()) {
            zone.kind = Zone::Kind::Custom;
            zone.custom = customZone(*definition->second);
        } else {
            warn(line, QStringLiteral("unknown time zone %1 (no VTIMEZONE defines it); its times are read as "
                                      "floating local time")
                           .arg(quoted(tzid)));
        }
        return zone;
    }

    // A zone ICU does not know, converted with the file's own definition (RFC 5545 3.6.5).
    icaltimezone* customZone(const Component& definition) {
        if (definition.damage) {
            throw *definition.damage;
        }
        const bool hasObservance =
            std::any_of(definition.children.begin(), definition.children.end(), [](const Component& child) {
                return child.name == "STANDARD" || child.name == "DAYLIGHT";
            });
        if (!hasObservance) {
            fail(definition.beginLine, QStringLiteral("VTIMEZONE has neither STANDARD nor DAYLIGHT"));
        }
        for (const Component& observance : definition.children) {
            for (const char* required : {"DTSTART", "TZOFFSETFROM", "TZOFFSETTO"}) {
                if (!observance.first(required)) {
                    fail(observance.beginLine,
                         QStringLiteral("%1 of VTIMEZONE has no %2")
                             .arg(ContentLineReader::excerpt(observance.name), QLatin1String(required)));
                }
            }
            checkObservanceRules(observance);
        }
        checkWithLibical(definition);
        IcalComponentPointer parsed(icalcomponent_new_from_string(definition.text(m_text).constData()));
        if (!parsed) {
            fail(definition.beginLine, QStringLiteral("the VTIMEZONE cannot be read"));
        }
        IcalTimezonePointer zone(icaltimezone_new());
        if (!icaltimezone_set_component(zone.get(), parsed.get())) {
            fail(definition.beginLine, QStringLiteral("the VTIMEZONE cannot be read"));
        }
        // The zone owns the component now.
        parsed.release();
        m_customZones.push_back(std::move(zone));
        return m_customZones.back().get();
    }

    // libical expands an observance's rule into every change from its start up to lastZoneYear
    // before it converts a single time. A rule that changes more often than maximumChangesPerYear
    // would cost time and memory without bound (one a minute is half a billion changes); it is
    // refused here, counted with an iterator that stops at the bound.
    void checkObservanceRules(const Component& observance) {
        const ContentLine* startProperty = observance.single("DTSTART");
        const std::optional<DateTimeValue> start = readDateTimeValue(startProperty->value.trimmed());
        if (!start || start->isDate) {
            fail(startProperty->line,
                 QStringLiteral("malformed DTSTART value %1").arg(quoted(startProperty->value)));
        }
        for (const ContentLine* property : observance.all("RRULE")) {
            const QByteArray ruleText = property->value.trimmed();
            QString problem;
            std::optional<QByteArray> plain = plainRule(ruleText, &problem);
            if (plain && plain->toUpper() != ruleText.toUpper()) {
                problem = QStringLiteral("RSCALE in a time zone observance is not supported");
                plain.reset();
            }
            icalerror_clear_errno();
            const icalrecurrencetype rule =
                plain ? icalrecurrencetype_from_string(plain->constData()) : icalrecurrencetype{};
            if (plain && (rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR)) {
                icalerror_clear_errno();
                plain.reset();
            }
            if (!plain) {
                fail(property->line,
                     QStringLiteral("invalid RRULE %1%2")
                         .arg(quoted(ruleText),
                              problem.isEmpty() ? QString() : QStringLiteral(": ") + problem));
            }
            if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
                rule.freq == ICAL_HOURLY_RECURRENCE) {
                fail(property->line,
                     QStringLiteral("the time zone observance repeats more often than daily"));
            }
            const int years = std::max(1, lastZoneYear - start->year + 1);
            if (countChanges(rule, *start, maximumChangesPerYear * years) > maximumChangesPerYear * years) {
                fail(property->line,
                     QStringLiteral("the time zone observance changes more than %1 times a year")
                         .arg(maximumChangesPerYear));
            }
        }
    }

    // The changes of an observance's rule up to lastZoneYear, counted up to one more than `limit`.
    static int countChanges(const icalrecurrencetype& rule, const DateTimeValue& start, int limit) {
        const IcalIteratorPointer iterator(icalrecur_iterator_new(rule, icalDateTime(start)));
        if (!iterator) {
            return 0;
        }
        int count = 0;
        while (count <= limit) {
            const icaltimetype next = icalrecur_iterator_next(iterator.get());
            if (icaltime_is_null_time(next) || next.year > lastZoneYear) {
                break;
            }
            ++count;
        }
        return count;
    }

    // Changed occurrences join their series; cancelled ones become excluded dates.
    std::vector<std::shared_ptr<EKEvent>> linkOccurrences() {
        std::map<QString, EKEvent*> series;
        for (const Record& master : m_masters) {
            series.emplace(master.uid, master.event.get());
        }
        std::vector<std::shared_ptr<EKEvent>> events;
        for (Record& master : m_masters) {
            events.push_back(master.event);
        }
        std::map<QString, int> orphansPerUid;
        for (const Record& occurrence : m_occurrences) {
            const auto found = series.find(occurrence.uid);
            if (found == series.end() || !found->second->hasRecurrenceRules()) {
                ++orphansPerUid[occurrence.uid];
            }
        }
        for (Record& occurrence : m_occurrences) {
            const auto found = series.find(occurrence.uid);
            const bool hasSeries = found != series.end() && found->second->hasRecurrenceRules();
            if (occurrence.cancelled) {
                if (hasSeries) {
                    std::vector<Date> excluded = found->second->excludedOccurrenceDates();
                    const Date original = *occurrence.event->occurrenceDate();
                    if (std::find(excluded.begin(), excluded.end(), original) == excluded.end()) {
                        excluded.insert(std::upper_bound(excluded.begin(), excluded.end(), original),
                                        original);
                    }
                    found->second->setExcludedOccurrenceDates(std::move(excluded));
                }
                continue;
            }
            if (!hasSeries) {
                // Without a repeating event to belong to, the occurrence is an event of its own;
                // several of them get identifiers of their own.
                warn(occurrence.line,
                     QStringLiteral("the changed occurrence has no repeating event with UID %1 "
                                    "and is read as an event of its own")
                         .arg(quoted(occurrence.uid.toUtf8())));
                occurrence.event->setOccurrenceDate(std::nullopt);
                if (found != series.end() || orphansPerUid[occurrence.uid] > 1) {
                    occurrence.event->setEventIdentifier(occurrence.uid + QLatin1Char('/') +
                                                         QString::fromUtf8(occurrence.recurrenceIdText));
                }
            }
            events.push_back(occurrence.event);
        }
        return events;
    }

    const QByteArray& m_text;
    EKEventStore& m_store;
    const ICalendarReader::ProgressCallback& m_progress;
    const bool m_strict;
    const QString m_defaultZoneName;
    bool m_allUtf8 = true;
    bool m_warnedAboutEncoding = false;
    ZoneCalendars m_calendars;
    std::map<QString, const Component*> m_timezoneComponents;
    std::vector<std::unique_ptr<Component>> m_timezones;
    std::vector<Component> m_deferred;
    std::map<QByteArray, std::pair<int, int>> m_otherKinds;
    int m_expectedEvents = 0;
    int m_done = 0;
    std::map<QByteArray, Zone> m_zones;
    std::map<QByteArray, ReadFailure> m_zoneFailures;
    std::vector<IcalTimezonePointer> m_customZones;
    std::vector<Record> m_masters;
    std::vector<Record> m_occurrences;
    std::map<QString, int> m_masterLines;
    std::map<std::pair<QString, double>, int> m_occurrenceLines;
};

} // namespace

QString ICalendarError::message() const {
    if (line > 0) {
        return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(problem);
    }
    return QStringLiteral("%1: %2").arg(fileName, problem);
}

ICalendarReader::ICalendarReader(EKEventStore& store) : m_store(store) {}

void ICalendarReader::setOnProgress(ProgressCallback onProgress) {
    m_onProgress = std::move(onProgress);
}

void ICalendarReader::setStrictness(Strictness strictness) {
    m_strictness = strictness;
}

ICalendarParseResult ICalendarReader::read(const QByteArray& text, const QString& fileName) const {
    ICalendarParseResult result;
    const auto located = [&](const ReadFailure& failure) {
        return ICalendarError{fileName, failure.line, failure.problem};
    };
    if (auto problem = ContentLineReader::startProblem(text, ContentLineReader::Syntax::ICalendar)) {
        result.error = ICalendarError{fileName, problem->line, std::move(problem->problem)};
        return result;
    }
    Reading reading(text, m_store, m_onProgress, m_strictness == Strictness::RefuseFile);
    try {
        result.events = reading.read();
    } catch (const ReadFailure& failure) {
        result.events.clear();
        result.error = located(failure);
        return result;
    }
    const auto inLineOrder = [&](std::vector<ReadFailure>& failures) {
        std::stable_sort(failures.begin(), failures.end(),
                         [](const ReadFailure& a, const ReadFailure& b) { return a.line < b.line; });
        std::vector<ICalendarError> errors;
        for (const ReadFailure& failure : failures) {
            errors.push_back(located(failure));
        }
        return errors;
    };
    result.skipped = inLineOrder(reading.m_skipped);
    result.warnings = inLineOrder(reading.m_warnings);
    return result;
}

ICalendarParseResult ICalendarReader::readFile(const QString& path) const {
    const QString fileName = QFileInfo(path).fileName();
    QString problem;
    const std::optional<QByteArray> text = ContentLineReader::readFile(path, &problem);
    if (!text) {
        ICalendarParseResult result;
        result.error = ICalendarError{fileName, 0, problem};
        return result;
    }
    return read(*text, fileName);
}
