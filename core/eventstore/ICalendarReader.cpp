#include "core/eventstore/ICalendarReader.h"

#include "core/calendar/Day.h"
#include "core/calendar/StringUtilities.h"
#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/eventstore/ZoneCalendars.h"
#include "foundation/CivilDate.h"
#include "foundation/Log.h"
#include "foundation/TimeZone.h"

#include <QFileInfo>
#include <QUuid>

#include <libical/ical.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString quoted(const QByteArray& text) {
    // Long values would drown the message.
    const QString value = QString::fromUtf8(text.left(80));
    return QLatin1Char('"') + value + (text.size() > 80 ? QStringLiteral("…\"") : QStringLiteral("\""));
}

// An error that ends the reading of a file; caught where the reading starts.
struct ReadFailure {
    int line;
    QString problem;
};

[[noreturn]] void fail(int line, QString problem) {
    throw ReadFailure{line, std::move(problem)};
}

struct Component {
    QByteArray name;
    int beginLine = 0;
    // The text from the BEGIN line to the end of the END line.
    qsizetype beginOffset = 0;
    qsizetype endOffset = 0;
    std::vector<ContentLine> properties;
    std::vector<Component> children;

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
                                     .arg(QLatin1String(propertyName), QString::fromUtf8(name)));
        }
        return found.empty() ? nullptr : found.front();
    }
};

// Nests the content lines into components by their BEGIN and END lines, as they are read.
std::vector<Component> readComponents(ContentLineReader& lines) {
    std::vector<Component> calendars;
    std::vector<Component> open;
    while (std::optional<ContentLine> line = lines.next()) {
        if (!line->problem.isEmpty()) {
            fail(line->line, line->problem);
        }
        if (line->name == "BEGIN" || line->name == "END") {
            const QByteArray componentName = line->value.trimmed().toUpper();
            if (componentName.isEmpty()) {
                fail(line->line,
                     QStringLiteral("%1 without a component name").arg(QString::fromUtf8(line->name)));
            }
            if (line->name == "BEGIN") {
                if (open.empty() && componentName != "VCALENDAR") {
                    fail(line->line, QStringLiteral("BEGIN:%1 outside of a VCALENDAR")
                                         .arg(QString::fromUtf8(componentName)));
                }
                Component component;
                component.name = componentName;
                component.beginLine = line->line;
                component.beginOffset = line->offset;
                open.push_back(std::move(component));
                continue;
            }
            if (open.empty()) {
                fail(line->line,
                     QStringLiteral("END:%1 without BEGIN:%1").arg(QString::fromUtf8(componentName)));
            }
            if (open.back().name != componentName) {
                fail(line->line,
                     QStringLiteral("END:%1 found while BEGIN:%2 of line %3 is still open")
                         .arg(QString::fromUtf8(componentName), QString::fromUtf8(open.back().name))
                         .arg(open.back().beginLine));
            }
            Component component = std::move(open.back());
            open.pop_back();
            component.endOffset = line->offset + line->length;
            if (open.empty()) {
                calendars.push_back(std::move(component));
            } else {
                open.back().children.push_back(std::move(component));
            }
            continue;
        }
        if (open.empty()) {
            fail(line->line, QStringLiteral("%1 outside of a VCALENDAR").arg(QString::fromUtf8(line->name)));
        }
        open.back().properties.push_back(std::move(*line));
    }
    if (!lines.problem().isEmpty()) {
        fail(lines.problemLine(), lines.problem());
    }
    if (!open.empty()) {
        fail(open.back().beginLine, QStringLiteral("BEGIN:%1 is not closed (END:%1 is missing)")
                                        .arg(QString::fromUtf8(open.back().name)));
    }
    return calendars;
}

struct IcalComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponentPointer = std::unique_ptr<icalcomponent, IcalComponentDeleter>;

struct IcalTimezoneDeleter {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using IcalTimezonePointer = std::unique_ptr<icaltimezone, IcalTimezoneDeleter>;

// libical marks what it could not read with X-LIC-ERROR properties and reads on. Errors about
// unknown property names are left out: RFC 5545 3.8.8.2 lets a reader ignore such properties.
std::optional<QString> firstError(icalcomponent* component) {
    for (icalproperty* property = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
         property; property = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(property);
        const QString message = QString::fromUtf8(text ? text : "");
        icalparameter* type = icalproperty_get_first_parameter(property, ICAL_XLICERRORTYPE_PARAMETER);
        if (type && icalparameter_get_xlicerrortype(type) == ICAL_XLICERRORTYPE_PROPERTYPARSEERROR &&
            message.startsWith(QLatin1String("Parse error in property name"))) {
            continue;
        }
        // An empty TEXT value is valid (RFC 5545 3.3.11); libical refuses every empty value.
        const QLatin1String noValue("No value for ");
        if (message.startsWith(noValue)) {
            const QByteArray propertyName =
                message.mid(noValue.size()).section(QLatin1Char(' '), 0, 0).toUtf8();
            if (icalproperty_kind_to_value_kind(icalproperty_string_to_kind(propertyName.constData())) ==
                ICAL_TEXT_VALUE) {
                continue;
            }
        }
        const QString removal = QStringLiteral(". Removing entire property: ");
        const qsizetype at = message.indexOf(removal);
        if (at >= 0) {
            return message.left(at) + QStringLiteral(": \"") + message.mid(at + removal.size()) +
                   QLatin1Char('"');
        }
        return message;
    }
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); child;
         child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        if (std::optional<QString> error = firstError(child)) {
            return error;
        }
    }
    return std::nullopt;
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
    int days = 0;
    qint64 seconds = 0;

    qint64 exactSeconds() const { return (negative ? -1 : 1) * (qint64(days) * 86400 + seconds); }
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
            value.days += amount * 7;
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

// What libical's own check of a rule lets through.
std::optional<QString> ruleProblem(const QByteArray& rule) {
    bool hasFrequency = false;
    for (const QByteArray& part : rule.split(';')) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = part.left(equals).toUpper();
        if (name == "FREQ") {
            hasFrequency = true;
        } else if (name == "BYMONTH") {
            for (const QByteArray& month : part.mid(equals + 1).split(',')) {
                bool ok = false;
                const int value = month.toInt(&ok);
                if (!ok || value < 1 || value > 12) {
                    return QStringLiteral("BYMONTH %1 is not a month").arg(quoted(month));
                }
            }
        }
    }
    if (!hasFrequency) {
        return QStringLiteral("FREQ is missing");
    }
    return std::nullopt;
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

// One reading of an iCalendar text into event records.
class Reading {
public:
    Reading(const QByteArray& text, EKEventStore& store, const ICalendarReader::ProgressCallback& progress)
        : m_text(text), m_store(store), m_progress(progress),
          m_defaultZoneName(TimeZone::defaultTimeZone().name()) {}

    std::vector<std::shared_ptr<EKEvent>> read() {
        ContentLineReader lines(m_text, ContentLineReader::Syntax::ICalendar);
        std::vector<Component> calendars;
        try {
            calendars = readComponents(lines);
        } catch (const ReadFailure&) {
            // A broken limit anywhere in the text is reported before a broken structure.
            lines.skipToEnd();
            if (!lines.problem().isEmpty()) {
                fail(lines.problemLine(), lines.problem());
            }
            throw;
        }
        int total = 0;
        for (const Component& calendar : calendars) {
            checkVersion(calendar);
            for (const Component& child : calendar.children) {
                if (child.name == "VTIMEZONE") {
                    if (const ContentLine* tzid = child.first("TZID")) {
                        m_timezoneComponents.emplace(ContentLineReader::unescapeText(tzid->value), &child);
                    }
                } else if (child.name == "VEVENT") {
                    ++total;
                }
            }
        }
        const int step = std::max(1, total / 100);
        int done = 0;
        for (const Component& calendar : calendars) {
            for (const Component& child : calendar.children) {
                if (child.name != "VEVENT") {
                    continue;
                }
                readEvent(child);
                ++done;
                if (m_progress && (done % step == 0 || done == total)) {
                    m_progress(done, total);
                }
            }
        }
        return linkOccurrences();
    }

private:
    struct Record {
        std::shared_ptr<EKEvent> event;
        QString uid;
        int line = 0;
        bool cancelled = false;
        QByteArray recurrenceIdText;
    };

    void checkVersion(const Component& calendar) {
        if (const ContentLine* version = calendar.first("VERSION")) {
            if (version->value.trimmed() != "2.0") {
                fail(version->line, QStringLiteral("iCalendar version %1 is not supported (only 2.0)")
                                        .arg(quoted(version->value)));
            }
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
        const QString zoneName = allDay ? QString() : eventZoneName(start.zone);
        const Date endDate = readEnd(component, start, startDate, zoneName);
        event->setAllDay(allDay);
        event->setTimeZone(zoneName);
        event->setStartDate(startDate);
        event->setEndDate(endDate);

        event->setTitle(text(component, "SUMMARY"));
        event->setLocation(text(component, "LOCATION"));
        event->setNotes(text(component, "DESCRIPTION"));
        if (const ContentLine* url = component.first("URL")) {
            // A URI value, not TEXT: nothing to unescape (RFC 5545 3.3.13).
            event->setURL(presentText(QString::fromUtf8(url->value.trimmed())));
        }

        const std::vector<const ContentLine*> rules = component.all("RRULE");
        if (rules.size() > 1) {
            fail(rules[1]->line, QStringLiteral("more than one RRULE in an event is not supported"));
        }
        if (!rules.empty()) {
            const QByteArray ruleText = rules.front()->value.trimmed();
            QString problem;
            std::optional<EKRecurrenceRule> rule;
            if (std::optional<QString> ownProblem = ruleProblem(ruleText)) {
                problem = *ownProblem;
            } else {
                rule = EKRecurrenceRule::fromRRule(QString::fromUtf8(ruleText), &problem);
            }
            if (!rule) {
                fail(rules.front()->line,
                     QStringLiteral("invalid RRULE %1%2")
                         .arg(quoted(ruleText),
                              problem.isEmpty() ? QString() : QStringLiteral(": ") + problem));
            }
            event->setRecurrenceRule(rule);
        }
        if (!component.all("RDATE").empty()) {
            Log::warning(eventStoreLogCategory,
                         QStringLiteral("RDATE of the event on line %1 is not supported and left out")
                             .arg(component.beginLine));
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
        record.uid = uid ? ContentLineReader::unescapeText(uid->value).trimmed() : QString();
        if (const ContentLine* status = component.single("STATUS")) {
            record.cancelled = status->value.trimmed().toUpper() == "CANCELLED";
        }
        if (const ContentLine* recurrenceId = component.single("RECURRENCE-ID")) {
            if (record.uid.isEmpty()) {
                fail(recurrenceId->line, QStringLiteral("RECURRENCE-ID in an event without UID"));
            }
            if (recurrenceId->parameter("RANGE").toUpper() == "THISANDFUTURE") {
                Log::warning(eventStoreLogCategory,
                             QStringLiteral("RANGE=THISANDFUTURE on line %1 is read as this occurrence only")
                                 .arg(recurrenceId->line));
            }
            const TimeValue original = readTime(*recurrenceId);
            event->setOccurrenceDate(occurrenceDate(original, start));
            record.recurrenceIdText = recurrenceId->value.trimmed();
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

        // What the own checks above let through, libical may still refuse.
        checkWithLibical(component);
        (record.recurrenceIdText.isNull() ? m_masters : m_occurrences).push_back(std::move(record));
    }

    // Gives libical every property of the component and of its children in one text, each alone in
    // a VEVENT of its own, so that a complaint belongs to one property: libical returns the VEVENTs
    // in the order of the text, and the first one it complains about names the line. (libical
    // reads any BEGIN and END line without complaint.)
    void checkWithLibical(const Component& component) {
        std::vector<const ContentLine*> properties;
        std::vector<const Component*> pending{&component};
        for (size_t next = 0; next < pending.size(); ++next) {
            for (const ContentLine& property : pending[next]->properties) {
                properties.push_back(&property);
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
        std::vector<icalcomponent*> events;
        if (parsed && icalcomponent_isa(parsed.get()) == ICAL_XROOT_COMPONENT) {
            for (icalcomponent* child = icalcomponent_get_first_component(parsed.get(), ICAL_ANY_COMPONENT);
                 child; child = icalcomponent_get_next_component(parsed.get(), ICAL_ANY_COMPONENT)) {
                events.push_back(child);
            }
        } else if (parsed) {
            events.push_back(parsed.get());
        }
        if (events.size() != properties.size()) {
            fail(component.beginLine,
                 QStringLiteral("the %1 cannot be read").arg(QString::fromUtf8(component.name)));
        }
        for (size_t i = 0; i < events.size(); ++i) {
            if (std::optional<QString> error = firstError(events[i])) {
                fail(properties[i]->line, *error);
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

    QString text(const Component& component, const char* propertyName) const {
        const ContentLine* property = component.first(propertyName);
        if (!property) {
            return QString();
        }
        return presentText(ContentLineReader::unescapeText(property->value));
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
            if (allDay) {
                const Day endDay(end.value.year, end.value.month, end.value.day);
                if (endDay < startDay) {
                    fail(endProperty->line, QStringLiteral("DTEND is before DTSTART"));
                }
                // An end on the start day itself still means that one day.
                return (endDay == startDay ? startDay.nextDay() : endDay).beginDateTime();
            }
            const Date endDate = toDate(end);
            if (endDate < startDate) {
                fail(endProperty->line, QStringLiteral("DTEND is before DTSTART"));
            }
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
            if (allDay) {
                const qint64 days = duration->days + (duration->seconds + 86399) / 86400;
                return startDay.addDays(int(std::max<qint64>(days, 1))).beginDateTime();
            }
            // Zones only the file defines are read as UTC, so the event's zone fits every case.
            const Date afterDays = m_calendars.addDays(zoneName, startDate, duration->days);
            return afterDays.addingTimeInterval(double(duration->seconds));
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
        if (valueType == "DATE-TIME") {
            const TimeValue when = readTime(*trigger);
            return EKAlarm::alarmWithRelativeOffset(toDate(when).timeIntervalSinceDate(startDate));
        }
        if (!valueType.isNull() && valueType != "DURATION") {
            fail(trigger->line,
                 QStringLiteral("unsupported VALUE=%1 for TRIGGER").arg(QString::fromUtf8(valueType)));
        }
        const std::optional<DurationValue> duration = readDurationValue(trigger->value.trimmed());
        if (!duration) {
            fail(trigger->line, QStringLiteral("malformed TRIGGER value %1").arg(quoted(trigger->value)));
        }
        double offset = double(duration->exactSeconds());
        const QByteArray related = trigger->parameter("RELATED").toUpper();
        if (related == "END") {
            offset += endDate.timeIntervalSinceDate(startDate);
        } else if (!related.isNull() && related != "START") {
            fail(trigger->line, QStringLiteral("unknown RELATED value %1").arg(quoted(related)));
        }
        return EKAlarm::alarmWithRelativeOffset(offset);
    }

    std::vector<TimeValue> readTimes(const ContentLine& property) {
        std::vector<TimeValue> values;
        for (const QByteArray& item : property.value.split(',')) {
            values.push_back(readTime(property, item));
        }
        return values;
    }

    TimeValue readTime(const ContentLine& property) { return readTime(property, property.value); }

    TimeValue readTime(const ContentLine& property, const QByteArray& text) {
        const QString name = QString::fromUtf8(property.name);
        const QByteArray valueType = property.parameter("VALUE").toUpper();
        if (!valueType.isNull() && valueType != "DATE" && valueType != "DATE-TIME") {
            fail(property.line,
                 QStringLiteral("unsupported VALUE=%1 for %2").arg(QString::fromUtf8(valueType), name));
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
        icaltimetype local = icaltime_null_time();
        local.year = value.year;
        local.month = value.month;
        local.day = value.day;
        local.hour = value.hour;
        local.minute = value.minute;
        local.second = value.second;
        local.is_date = 0;
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

    Zone resolveZone(const QByteArray& tzid, int line) {
        if (auto found = m_zones.find(tzid); found != m_zones.end()) {
            return found->second;
        }
        const QString name = QString::fromUtf8(tzid);
        Zone zone;
        const auto definition = m_timezoneComponents.find(name);
        std::optional<QString> icuName = icuZoneName(name);
        if (!icuName && definition != m_timezoneComponents.end()) {
            if (const ContentLine* location = definition->second->first("X-LIC-LOCATION")) {
                const QString locationName = ContentLineReader::unescapeText(location->value).trimmed();
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
            fail(line, QStringLiteral("unknown time zone %1 (no VTIMEZONE defines it)").arg(quoted(tzid)));
        }
        m_zones.emplace(tzid, zone);
        return zone;
    }

    // A zone ICU does not know, converted with the file's own definition (RFC 5545 3.6.5).
    icaltimezone* customZone(const Component& definition) {
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
                             .arg(QString::fromUtf8(observance.name), QLatin1String(required)));
                }
            }
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
                Log::warning(eventStoreLogCategory,
                             QStringLiteral("the changed occurrence on line %1 has no repeating event "
                                            "with UID %2 and is read as an event of its own")
                                 .arg(occurrence.line)
                                 .arg(occurrence.uid));
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
    const QString m_defaultZoneName;
    ZoneCalendars m_calendars;
    std::map<QString, const Component*> m_timezoneComponents;
    std::map<QByteArray, Zone> m_zones;
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

ICalendarParseResult ICalendarReader::read(const QByteArray& text, const QString& fileName) const {
    ICalendarParseResult result;
    auto refuse = [&](int line, QString problem) {
        result.error = ICalendarError{fileName, line, std::move(problem)};
        return result;
    };
    if (auto problem = ContentLineReader::startProblem(text, ContentLineReader::Syntax::ICalendar)) {
        return refuse(problem->line, std::move(problem->problem));
    }
    try {
        result.events = Reading(text, m_store, m_onProgress).read();
    } catch (const ReadFailure& failure) {
        result.events.clear();
        return refuse(failure.line, failure.problem);
    }
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
