#include "core/eventstore/ICalendarCodec.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/StringUtilities.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Log.h"
#include "foundation/TimeZone.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <libical/ical.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/vtzone.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

namespace {

const char* const logCategory = "eventstore";

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString quoted(const QByteArray& text) {
    // Long values would drown the message.
    const QString value = QString::fromUtf8(text.left(80));
    return QLatin1Char('"') + value + (text.size() > 80 ? QStringLiteral("…\"") : QStringLiteral("\""));
}

// Splits a logical line into name, parameters and value (RFC 5545 3.1 "contentline").
ICalendarContentLine splitContentLine(const QByteArray& text, ICalendarCodec::Syntax syntax) {
    ICalendarContentLine line;
    const qsizetype size = text.size();
    qsizetype i = 0;
    auto readName = [&]() {
        const qsizetype start = i;
        while (i < size && isNameCharacter(text[i])) {
            ++i;
        }
        return text.mid(start, i - start);
    };
    QByteArray name = readName();
    if (syntax == ICalendarCodec::Syntax::VCard) {
        while (!name.isEmpty() && i < size && text[i] == '.') {
            ++i;
            name = readName();
        }
    }
    if (name.isEmpty()) {
        line.problem = QStringLiteral("expected a property name at the start of the line");
        return line;
    }
    while (i < size && text[i] == ';') {
        ++i;
        const QByteArray parameterName = readName().toUpper();
        if (parameterName.isEmpty()) {
            line.problem =
                QStringLiteral("expected a parameter name after \";\" in %1").arg(QString::fromUtf8(name));
            return line;
        }
        if (i >= size || text[i] != '=') {
            // vCard 2.1 writes bare types ("TEL;HOME:...").
            if (syntax == ICalendarCodec::Syntax::VCard) {
                line.parameters.emplace_back("TYPE", parameterName);
                continue;
            }
            line.problem = QStringLiteral("parameter %1 of %2 has no value")
                               .arg(QString::fromUtf8(parameterName), QString::fromUtf8(name));
            return line;
        }
        ++i;
        QByteArray values;
        while (true) {
            if (i < size && text[i] == '"') {
                const qsizetype close = text.indexOf('"', i + 1);
                if (close < 0) {
                    line.problem = QStringLiteral("a quoted value of parameter %1 is not closed")
                                       .arg(QString::fromUtf8(parameterName));
                    return line;
                }
                values += text.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype start = i;
                while (i < size && text[i] != ';' && text[i] != ':' && text[i] != ',' && text[i] != '"') {
                    ++i;
                }
                values += text.mid(start, i - start);
            }
            if (i < size && text[i] == ',') {
                values += ',';
                ++i;
                continue;
            }
            break;
        }
        line.parameters.emplace_back(parameterName, values);
    }
    if (i >= size || text[i] != ':') {
        line.parameters.clear();
        line.problem = QStringLiteral("expected \":\" after %1").arg(QString::fromUtf8(name));
        return line;
    }
    line.name = name.toUpper();
    line.value = text.mid(i + 1);
    return line;
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
    qsizetype beginOffset = 0;
    qsizetype endOffset = 0;
    std::vector<ICalendarContentLine> properties;
    std::vector<Component> children;

    std::vector<const ICalendarContentLine*> all(const char* propertyName) const {
        std::vector<const ICalendarContentLine*> found;
        for (const ICalendarContentLine& property : properties) {
            if (property.name == propertyName) {
                found.push_back(&property);
            }
        }
        return found;
    }

    const ICalendarContentLine* first(const char* propertyName) const {
        for (const ICalendarContentLine& property : properties) {
            if (property.name == propertyName) {
                return &property;
            }
        }
        return nullptr;
    }

    // The property that may occur at most once.
    const ICalendarContentLine* single(const char* propertyName) const {
        const std::vector<const ICalendarContentLine*> found = all(propertyName);
        if (found.size() > 1) {
            fail(found[1]->line, QStringLiteral("%1 occurs more than once in %2")
                                     .arg(QLatin1String(propertyName), QString::fromUtf8(name)));
        }
        return found.empty() ? nullptr : found.front();
    }
};

// Nests the content lines into components by their BEGIN and END lines.
std::vector<Component> buildComponents(std::vector<ICalendarContentLine>& lines) {
    std::vector<Component> calendars;
    std::vector<Component> open;
    for (ICalendarContentLine& line : lines) {
        if (!line.problem.isEmpty()) {
            fail(line.line, line.problem);
        }
        if (line.name == "BEGIN" || line.name == "END") {
            const QByteArray componentName = line.value.trimmed().toUpper();
            if (componentName.isEmpty()) {
                fail(line.line,
                     QStringLiteral("%1 without a component name").arg(QString::fromUtf8(line.name)));
            }
            if (line.name == "BEGIN") {
                if (open.empty() && componentName != "VCALENDAR") {
                    fail(line.line, QStringLiteral("BEGIN:%1 outside of a VCALENDAR")
                                        .arg(QString::fromUtf8(componentName)));
                }
                Component component;
                component.name = componentName;
                component.beginLine = line.line;
                component.beginOffset = line.offset;
                open.push_back(std::move(component));
                continue;
            }
            if (open.empty()) {
                fail(line.line,
                     QStringLiteral("END:%1 without BEGIN:%1").arg(QString::fromUtf8(componentName)));
            }
            if (open.back().name != componentName) {
                fail(line.line,
                     QStringLiteral("END:%1 found while BEGIN:%2 of line %3 is still open")
                         .arg(QString::fromUtf8(componentName), QString::fromUtf8(open.back().name))
                         .arg(open.back().beginLine));
            }
            Component component = std::move(open.back());
            open.pop_back();
            component.endOffset = line.offset + line.length;
            if (open.empty()) {
                calendars.push_back(std::move(component));
            } else {
                open.back().children.push_back(std::move(component));
            }
            continue;
        }
        if (open.empty()) {
            fail(line.line, QStringLiteral("%1 outside of a VCALENDAR").arg(QString::fromUtf8(line.name)));
        }
        open.back().properties.push_back(std::move(line));
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
std::optional<QString> firstLibicalError(icalcomponent* component) {
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
        if (std::optional<QString> error = firstLibicalError(child)) {
            return error;
        }
    }
    return std::nullopt;
}

// A present but empty text stays distinct from an absent one (a null QString).
QString presentText(QString text) {
    return text.isNull() ? QStringLiteral("") : text;
}

struct DateTimeValue {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool isDate = false;
    bool isUtc = false;
};

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
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
    if (value.year < 1 || value.month < 1 || value.month > 12 || value.day < 1 ||
        value.day > daysInMonth(value.year, value.month) || value.hour > 23 || value.minute > 59 ||
        value.second > 60) {
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

bool isUtcZoneName(const QString& name) {
    const std::optional<TimeZone> zone = TimeZone::withName(name);
    if (!zone) {
        return false;
    }
    const QString canonical = zone->canonicalName();
    return canonical == QLatin1String("Etc/UTC") || canonical == QLatin1String("Etc/GMT");
}

// ICU calendars of the zones one reading or writing uses, made once each.
class ZoneCalendars {
public:
    icu::GregorianCalendar& calendar(const QString& zoneName) {
        auto found = m_calendars.find(zoneName);
        if (found != m_calendars.end()) {
            return *found->second;
        }
        UErrorCode status = U_ZERO_ERROR;
        auto calendar = std::make_unique<icu::GregorianCalendar>(
            icu::TimeZone::createTimeZone(StringUtilities::toUnicodeString(zoneName)), status);
        // RFC 5545 3.3.5: a repeated local time means its first occurrence; a skipped one is read
        // with the offset before the change, which is ICU's default.
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        return *m_calendars.emplace(zoneName, std::move(calendar)).first->second;
    }

    Date date(const QString& zoneName, const DateTimeValue& value) {
        icu::GregorianCalendar& gregorian = calendar(zoneName);
        gregorian.clear();
        gregorian.set(value.year, value.month - 1, value.day, value.hour, value.minute, value.second);
        UErrorCode status = U_ZERO_ERROR;
        return Date::withUDate(gregorian.getTime(status));
    }

    DateTimeValue fields(const QString& zoneName, Date date) {
        icu::GregorianCalendar& gregorian = calendar(zoneName);
        UErrorCode status = U_ZERO_ERROR;
        gregorian.setTime(std::floor(date.timeIntervalSince1970()) * 1000.0, status);
        DateTimeValue value;
        value.year = gregorian.get(UCAL_EXTENDED_YEAR, status);
        value.month = gregorian.get(UCAL_MONTH, status) + 1;
        value.day = gregorian.get(UCAL_DATE, status);
        value.hour = gregorian.get(UCAL_HOUR_OF_DAY, status);
        value.minute = gregorian.get(UCAL_MINUTE, status);
        value.second = gregorian.get(UCAL_SECOND, status);
        return value;
    }

    // Calendar days keep their wall-clock time across daylight-saving changes.
    Date addDays(const QString& zoneName, Date date, int days) {
        icu::GregorianCalendar& gregorian = calendar(zoneName);
        UErrorCode status = U_ZERO_ERROR;
        gregorian.setTime(date.udate(), status);
        gregorian.add(UCAL_DATE, days, status);
        return Date::withUDate(gregorian.getTime(status));
    }

private:
    std::map<QString, std::unique_ptr<icu::GregorianCalendar>> m_calendars;
};

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

// Reads one iCalendar text into event records.
class Reader {
public:
    Reader(const QByteArray& text, EKEventStore& store, const ICalendarCodec::ProgressCallback& progress)
        : m_text(text), m_store(store), m_progress(progress),
          m_defaultZoneName(TimeZone::defaultTimeZone().name()) {}

    std::vector<std::shared_ptr<EKEvent>> read() {
        ICalendarCodec::ContentLines scanned =
            ICalendarCodec::readContentLines(m_text, ICalendarCodec::Syntax::ICalendar);
        if (!scanned.problem.isEmpty()) {
            fail(scanned.errorLine, scanned.problem);
        }
        const std::vector<Component> calendars = buildComponents(scanned.lines);
        int total = 0;
        for (const Component& calendar : calendars) {
            checkVersion(calendar);
            for (const Component& child : calendar.children) {
                if (child.name == "VTIMEZONE") {
                    if (const ICalendarContentLine* tzid = child.first("TZID")) {
                        m_timezoneComponents.emplace(ICalendarCodec::unescapeText(tzid->value), &child);
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
        if (const ICalendarContentLine* version = calendar.first("VERSION")) {
            if (version->value.trimmed() != "2.0") {
                fail(version->line, QStringLiteral("iCalendar version %1 is not supported (only 2.0)")
                                        .arg(quoted(version->value)));
            }
        }
    }

    void readEvent(const Component& component) {
        IcalComponentPointer parsed(icalcomponent_new_from_string(
            m_text.mid(component.beginOffset, component.endOffset - component.beginOffset).constData()));
        if (!parsed) {
            fail(component.beginLine, QStringLiteral("the VEVENT cannot be read"));
        }

        const std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(m_store);
        const ICalendarContentLine* startProperty = component.single("DTSTART");
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
        if (const ICalendarContentLine* url = component.first("URL")) {
            // A URI value, not TEXT: nothing to unescape (RFC 5545 3.3.13).
            event->setURL(presentText(QString::fromUtf8(url->value.trimmed())));
        }

        const std::vector<const ICalendarContentLine*> rules = component.all("RRULE");
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
            Log::warning(logCategory,
                         QStringLiteral("RDATE of the event on line %1 is not supported and left out")
                             .arg(component.beginLine));
        }

        std::vector<Date> excluded;
        for (const ICalendarContentLine* property : component.all("EXDATE")) {
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
        const ICalendarContentLine* uid = component.single("UID");
        record.uid = uid ? ICalendarCodec::unescapeText(uid->value).trimmed() : QString();
        if (const ICalendarContentLine* status = component.single("STATUS")) {
            record.cancelled = status->value.trimmed().toUpper() == "CANCELLED";
        }
        if (const ICalendarContentLine* recurrenceId = component.single("RECURRENCE-ID")) {
            if (record.uid.isEmpty()) {
                fail(recurrenceId->line, QStringLiteral("RECURRENCE-ID in an event without UID"));
            }
            if (recurrenceId->parameter("RANGE").toUpper() == "THISANDFUTURE") {
                Log::warning(logCategory,
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
        if (firstLibicalError(parsed.get())) {
            failAtLibicalError(component);
        }
        (record.recurrenceIdText.isNull() ? m_masters : m_occurrences).push_back(std::move(record));
    }

    // Finds the line libical refused by reading the lines one by one.
    [[noreturn]] void failAtLibicalError(const Component& component) {
        std::vector<const Component*> pending{&component};
        while (!pending.empty()) {
            const Component* current = pending.front();
            pending.erase(pending.begin());
            for (const ICalendarContentLine& property : current->properties) {
                const QByteArray single =
                    "BEGIN:VEVENT\r\n" + m_text.mid(property.offset, property.length) + "\r\nEND:VEVENT\r\n";
                IcalComponentPointer parsed(icalcomponent_new_from_string(single.constData()));
                if (parsed) {
                    if (std::optional<QString> error = firstLibicalError(parsed.get())) {
                        fail(property.line, *error);
                    }
                }
            }
            for (const Component& child : current->children) {
                pending.push_back(&child);
            }
        }
        fail(component.beginLine, QStringLiteral("the VEVENT cannot be read"));
    }

    // The identifier of an event without UID comes from its text, so that importing the same file
    // again replaces the event instead of adding it twice.
    QString generatedUid(const Component& component) {
        static const QUuid space(QStringLiteral("{5d3c7a2e-9f41-4b8e-a6c2-0e7b1f4d8a93}"));
        QByteArray data = m_text.mid(component.beginOffset, component.endOffset - component.beginOffset);
        QString uid = QUuid::createUuidV5(space, data).toString(QUuid::WithoutBraces);
        for (int copy = 2; m_masterLines.count(uid) != 0; ++copy) {
            uid = QUuid::createUuidV5(space, data + QByteArray::number(copy)).toString(QUuid::WithoutBraces);
        }
        return uid;
    }

    QString text(const Component& component, const char* propertyName) const {
        const ICalendarContentLine* property = component.first(propertyName);
        if (!property) {
            return QString();
        }
        return presentText(ICalendarCodec::unescapeText(property->value));
    }

    Date readEnd(const Component& component, const TimeValue& start, Date startDate,
                 const QString& zoneName) {
        const ICalendarContentLine* endProperty = component.single("DTEND");
        const ICalendarContentLine* durationProperty = component.single("DURATION");
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
        const ICalendarContentLine* trigger = alarm.single("TRIGGER");
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

    std::vector<TimeValue> readTimes(const ICalendarContentLine& property) {
        std::vector<TimeValue> values;
        for (const QByteArray& item : property.value.split(',')) {
            values.push_back(readTime(property, item));
        }
        return values;
    }

    TimeValue readTime(const ICalendarContentLine& property) { return readTime(property, property.value); }

    TimeValue readTime(const ICalendarContentLine& property, const QByteArray& text) {
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
            if (const ICalendarContentLine* location = definition->second->first("X-LIC-LOCATION")) {
                const QString locationName = ICalendarCodec::unescapeText(location->value).trimmed();
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
        IcalComponentPointer parsed(icalcomponent_new_from_string(
            m_text.mid(definition.beginOffset, definition.endOffset - definition.beginOffset).constData()));
        if (!parsed) {
            fail(definition.beginLine, QStringLiteral("the VTIMEZONE cannot be read"));
        }
        if (firstLibicalError(parsed.get())) {
            failAtLibicalError(definition);
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
                Log::warning(logCategory,
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
    const ICalendarCodec::ProgressCallback& m_progress;
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

// Writes event records as one VCALENDAR.
class Writer {
public:
    QByteArray write(const std::vector<std::shared_ptr<EKEvent>>& records) {
        m_defaultZoneName = TimeZone::defaultTimeZone().name();
        for (const std::shared_ptr<EKEvent>& record : records) {
            if (!record->occurrenceDate()) {
                m_series.emplace(record->eventIdentifier(), record.get());
            }
        }
        QByteArray events;
        for (const std::shared_ptr<EKEvent>& record : records) {
            writeEvent(*record, events);
        }
        QByteArray out;
        line(out, "BEGIN:VCALENDAR");
        line(out, "VERSION:2.0");
        line(out, "PRODID:-//Orvella//Orvella//EN");
        line(out, "CALSCALE:GREGORIAN");
        for (const auto& [zone, earliest] : m_zonesUsed) {
            writeTimeZone(zone, earliest, out);
        }
        out += events;
        line(out, "END:VCALENDAR");
        return out;
    }

private:
    static void line(QByteArray& out, const QByteArray& content) { out += ICalendarCodec::foldLine(content); }

    static QByteArray format(const DateTimeValue& value, bool dateOnly) {
        QByteArray text = QByteArray::number(value.year).rightJustified(4, '0') +
                          QByteArray::number(value.month).rightJustified(2, '0') +
                          QByteArray::number(value.day).rightJustified(2, '0');
        if (!dateOnly) {
            text += 'T' + QByteArray::number(value.hour).rightJustified(2, '0') +
                    QByteArray::number(value.minute).rightJustified(2, '0') +
                    QByteArray::number(value.second).rightJustified(2, '0');
        }
        return text;
    }

    static QByteArray formatDay(const Day& day) {
        DateTimeValue value;
        value.year = day.yearNumber();
        value.month = day.monthNumber();
        value.day = day.dayNumber();
        return format(value, true);
    }

    // The zone the record's times are written in; empty for UTC.
    QString zoneOf(const EKEvent& event) const {
        QString zone = event.timeZone().isEmpty() ? m_defaultZoneName : event.timeZone();
        if (!TimeZone::withName(zone) || isUtcZoneName(zone)) {
            return QString();
        }
        return zone;
    }

    // ";TZID=...:value" or ":value" for a time of a timed event.
    QByteArray time(const QString& zone, const std::vector<Date>& dates) {
        QByteArray text = zone.isEmpty() ? QByteArray(":") : ";TZID=" + zone.toUtf8() + ':';
        for (size_t i = 0; i < dates.size(); ++i) {
            if (i > 0) {
                text += ',';
            }
            if (zone.isEmpty()) {
                text += format(m_calendars.fields(QStringLiteral("UTC"), dates[i]), false) + 'Z';
            } else {
                text += format(m_calendars.fields(zone, dates[i]), false);
                auto [found, added] = m_zonesUsed.emplace(zone, dates[i]);
                if (!added && dates[i] < found->second) {
                    found->second = dates[i];
                }
            }
        }
        return text;
    }

    QByteArray days(const std::vector<Date>& dates) {
        QByteArray text = ";VALUE=DATE:";
        for (size_t i = 0; i < dates.size(); ++i) {
            text += (i > 0 ? "," : "") + formatDay(DateUtilities::day(dates[i]));
        }
        return text;
    }

    void writeEvent(const EKEvent& event, QByteArray& out) {
        line(out, "BEGIN:VEVENT");
        const QString identifier = event.eventIdentifier().isEmpty()
                                       ? QUuid::createUuid().toString(QUuid::WithoutBraces)
                                       : event.eventIdentifier();
        line(out, "UID:" + ICalendarCodec::escapeText(identifier));
        line(out, "DTSTAMP" + time(QString(), {Date::now()}));
        const QString zone = zoneOf(event);
        if (event.allDay()) {
            const Day startDay = DateUtilities::day(event.startDate());
            // The end is the next day's start; an end inside a day still covers that day.
            Day endDay = DateUtilities::day(event.endDate().addingTimeInterval(-1)).nextDay();
            if (!(startDay < endDay)) {
                endDay = startDay.nextDay();
            }
            line(out, "DTSTART;VALUE=DATE:" + formatDay(startDay));
            line(out, "DTEND;VALUE=DATE:" + formatDay(endDay));
        } else {
            line(out, "DTSTART" + time(zone, {event.startDate()}));
            line(out, "DTEND" + time(zone, {std::max(event.endDate(), event.startDate())}));
        }
        if (const std::optional<Date> original = event.occurrenceDate()) {
            // RECURRENCE-ID takes the form of its series' DTSTART (RFC 5545 3.8.4.4).
            const auto found = m_series.find(event.eventIdentifier());
            const EKEvent& series = found != m_series.end() ? *found->second : event;
            line(out,
                 "RECURRENCE-ID" + (series.allDay() ? days({*original}) : time(zoneOf(series), {*original})));
        }
        if (!event.title().isNull()) {
            line(out, "SUMMARY:" + ICalendarCodec::escapeText(event.title()));
        }
        if (!event.location().isNull()) {
            line(out, "LOCATION:" + ICalendarCodec::escapeText(event.location()));
        }
        if (!event.notes().isNull()) {
            line(out, "DESCRIPTION:" + ICalendarCodec::escapeText(event.notes()));
        }
        if (!event.URL().isNull()) {
            QByteArray url = event.URL().toUtf8();
            url.removeIf([](char c) { return uchar(c) < 0x20 || c == 0x7f; });
            line(out, "URL:" + url);
        }
        if (const std::optional<EKRecurrenceRule>& rule = event.recurrenceRule()) {
            line(out, "RRULE:" + rule->rrule().toUtf8());
        }
        if (!event.excludedOccurrenceDates().empty()) {
            const std::vector<Date>& excluded = event.excludedOccurrenceDates();
            line(out, "EXDATE" + (event.allDay() ? days(excluded) : time(zone, excluded)));
        }
        for (const EKAlarm& alarm : event.alarms()) {
            line(out, "BEGIN:VALARM");
            line(out, "ACTION:DISPLAY");
            line(out, "DESCRIPTION:" + ICalendarCodec::escapeText(event.title().isEmpty()
                                                                      ? QStringLiteral("Reminder")
                                                                      : event.title()));
            line(out, "TRIGGER:" + duration(alarm.relativeOffset()));
            line(out, "END:VALARM");
        }
        line(out, "END:VEVENT");
    }

    static QByteArray duration(double seconds) {
        qint64 rest = qint64(std::llround(seconds));
        QByteArray text = rest < 0 ? "-P" : "P";
        rest = rest < 0 ? -rest : rest;
        if (rest == 0) {
            return "PT0S";
        }
        if (rest % 604800 == 0) {
            return text + QByteArray::number(rest / 604800) + 'W';
        }
        if (rest >= 86400) {
            text += QByteArray::number(rest / 86400) + 'D';
            rest %= 86400;
        }
        if (rest > 0) {
            text += 'T';
            if (rest >= 3600) {
                text += QByteArray::number(rest / 3600) + 'H';
            }
            if (rest % 3600 >= 60) {
                text += QByteArray::number(rest % 3600 / 60) + 'M';
            }
            if (rest % 60 > 0) {
                text += QByteArray::number(rest % 60) + 'S';
            }
        }
        return text;
    }

    // ICU's own description of the zone (RFC 5545 3.6.5), the same data the store computes with,
    // from a year before the earliest time written in it.
    static void writeTimeZone(const QString& zone, Date earliest, QByteArray& out) {
        std::unique_ptr<icu::VTimeZone> definition(
            icu::VTimeZone::createVTimeZoneByID(StringUtilities::toUnicodeString(zone)));
        icu::UnicodeString text;
        UErrorCode status = U_ZERO_ERROR;
        if (definition) {
            definition->write(earliest.addingTimeInterval(-366.0 * 86400).udate(), text, status);
        }
        if (!definition || U_FAILURE(status) || text.isEmpty()) {
            Log::warning(logCategory, QStringLiteral("no VTIMEZONE for %1").arg(zone));
            return;
        }
        for (const QByteArray& written : StringUtilities::fromUnicodeString(text).toUtf8().split('\n')) {
            const QByteArray content = written.endsWith('\r') ? written.chopped(1) : written;
            if (content.isEmpty()) {
                continue;
            }
            line(out, content.startsWith("TZID:") ? "TZID:" + zone.toUtf8() : content);
        }
    }

    QString m_defaultZoneName;
    ZoneCalendars m_calendars;
    std::map<QString, const EKEvent*> m_series;
    std::map<QString, Date> m_zonesUsed;
};

} // namespace

QString ICalendarError::message() const {
    if (line > 0) {
        return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(problem);
    }
    return QStringLiteral("%1: %2").arg(fileName, problem);
}

QByteArray ICalendarContentLine::parameter(const QByteArray& parameterName) const {
    for (const auto& [candidate, parameterValue] : parameters) {
        if (candidate == parameterName) {
            // A present but empty value stays distinct from an absent parameter.
            return parameterValue.isNull() ? QByteArray("") : parameterValue;
        }
    }
    return QByteArray();
}

namespace ICalendarCodec {

ContentLines readContentLines(const QByteArray& text, Syntax syntax) {
    ContentLines result;
    const char* data = text.constData();
    const qsizetype size = text.size();
    qsizetype position = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int lineNumber = 0;
    QByteArray logical;
    bool haveLogical = false;
    ICalendarContentLine pending;
    auto finish = [&]() {
        if (!haveLogical) {
            return;
        }
        ICalendarContentLine line = splitContentLine(logical, syntax);
        line.line = pending.line;
        line.offset = pending.offset;
        line.length = pending.length;
        result.lines.push_back(std::move(line));
        haveLogical = false;
    };
    while (position < size) {
        ++lineNumber;
        qsizetype end = text.indexOf('\n', position);
        if (end < 0) {
            end = size;
        }
        qsizetype contentEnd = end;
        if (contentEnd > position && data[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        const qsizetype length = contentEnd - position;
        const qsizetype next = end < size ? end + 1 : size;
        if (length > maximumLineLength) {
            result.errorLine = lineNumber;
            result.problem = QStringLiteral("the line is longer than 1 MB");
            return result;
        }
        if (std::memchr(data + position, 0, size_t(length))) {
            result.errorLine = lineNumber;
            result.problem = QStringLiteral("the line holds binary data (a NUL byte)");
            return result;
        }
        if (length == 0) {
            finish();
        } else if (data[position] == ' ' || data[position] == '\t') {
            if (haveLogical) {
                logical.append(data + position + 1, length - 1);
                pending.length = contentEnd - pending.offset;
                if (logical.size() > maximumLineLength) {
                    result.errorLine = pending.line;
                    result.problem = QStringLiteral("the line is longer than 1 MB");
                    return result;
                }
            } else {
                ICalendarContentLine line;
                line.line = lineNumber;
                line.offset = position;
                line.length = length;
                line.problem = QStringLiteral("a folded line continues no line");
                result.lines.push_back(std::move(line));
            }
        } else {
            finish();
            logical = QByteArray(data + position, length);
            haveLogical = true;
            pending.line = lineNumber;
            pending.offset = position;
            pending.length = length;
        }
        position = next;
    }
    finish();
    return result;
}

QByteArray firstLine(const QByteArray& text, int* lineNumber) {
    qsizetype position = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (position < text.size()) {
        ++number;
        qsizetype end = text.indexOf('\n', position);
        if (end < 0) {
            end = text.size();
        }
        const QByteArray content = text.mid(position, std::min(end - position, maximumLineLength)).trimmed();
        if (!content.isEmpty()) {
            *lineNumber = number;
            return content;
        }
        position = end + 1;
    }
    *lineNumber = 0;
    return QByteArray();
}

std::optional<QByteArray> readFile(const QString& path, QString* problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem) {
            *problem = QStringLiteral("cannot open the file: %1").arg(file.errorString());
        }
        return std::nullopt;
    }
    if (file.size() > maximumFileSize) {
        if (problem) {
            *problem = QStringLiteral("the file is larger than 50 MB");
        }
        return std::nullopt;
    }
    // Files that do not know their size (pipes) are read up to one byte over the limit.
    QByteArray text = file.read(maximumFileSize + 1);
    if (text.size() > maximumFileSize) {
        if (problem) {
            *problem = QStringLiteral("the file is larger than 50 MB");
        }
        return std::nullopt;
    }
    return text;
}

QString unescapeText(const QByteArray& value) {
    QByteArray text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char escaped = value[++i];
            switch (escaped) {
            case 'n':
            case 'N':
                text += '\n';
                break;
            case '\\':
            case ';':
            case ',':
            case ':':
            case '"':
                text += escaped;
                break;
            default:
                // Not an escape RFC 5545 knows: kept as written.
                text += '\\';
                text += escaped;
                break;
            }
        } else {
            text += c;
        }
    }
    return QString::fromUtf8(text);
}

QByteArray escapeText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray escaped;
    escaped.reserve(utf8.size() + 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case ';':
            escaped += "\\;";
            break;
        case ',':
            escaped += "\\,";
            break;
        case '\r':
            escaped += "\\n";
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            // Other control characters are not allowed in TEXT (RFC 5545 3.3.11).
            if ((uchar(c) >= 0x20 && c != 0x7f) || c == '\t') {
                escaped += c;
            }
            break;
        }
    }
    return escaped;
}

QByteArray foldLine(const QByteArray& line) {
    QByteArray folded;
    folded.reserve(line.size() + line.size() / 70 * 3 + 2);
    qsizetype start = 0;
    // The first line holds 75 octets, each continuation a space and 74 more.
    qsizetype limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        if (cut == start) {
            cut = start + limit;
        }
        folded += line.mid(start, cut - start);
        folded += "\r\n ";
        start = cut;
        limit = 74;
    }
    folded += line.mid(start);
    folded += "\r\n";
    return folded;
}

ICalendarParseResult parse(const QByteArray& text, const QString& fileName, EKEventStore& store,
                           const ProgressCallback& progress) {
    ICalendarParseResult result;
    auto refuse = [&](int line, QString problem) {
        result.error = ICalendarError{fileName, line, std::move(problem)};
        return result;
    };
    if (text.size() > maximumFileSize) {
        return refuse(0, QStringLiteral("the file is larger than 50 MB"));
    }
    int first = 0;
    const QByteArray firstContent = firstLine(text, &first);
    if (first == 0) {
        return refuse(0, QStringLiteral("the file is empty"));
    }
    if (firstContent.compare("BEGIN:VCALENDAR", Qt::CaseInsensitive) != 0) {
        return refuse(first,
                      QStringLiteral("not an iCalendar file (it does not begin with BEGIN:VCALENDAR)"));
    }
    try {
        Reader reader(text, store, progress);
        result.events = reader.read();
    } catch (const ReadFailure& failure) {
        result.events.clear();
        return refuse(failure.line, failure.problem);
    }
    return result;
}

ICalendarParseResult parseFile(const QString& path, EKEventStore& store, const ProgressCallback& progress) {
    const QString fileName = QFileInfo(path).fileName();
    QString problem;
    const std::optional<QByteArray> text = readFile(path, &problem);
    if (!text) {
        ICalendarParseResult result;
        result.error = ICalendarError{fileName, 0, problem};
        return result;
    }
    return parse(*text, fileName, store, progress);
}

QByteArray serialize(const std::vector<std::shared_ptr<EKEvent>>& records) {
    return Writer().write(records);
}

} // namespace ICalendarCodec
