#include "core/eventstore/ICalendarReader.h"

#include "core/calendar/Day.h"
#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarComponent.h"
#include "core/eventstore/ICalendarComponentNesting.h"
#include "core/eventstore/ICalendarTimeZones.h"
#include "core/eventstore/ICalendarValues.h"
#include "core/eventstore/WallClock.h"
#include "core/eventstore/ZoneCalendars.h"
#include "foundation/CivilDate.h"
#include "foundation/StringUtilities.h"
#include "foundation/TimeZone.h"

#include <QFileInfo>
#include <QStringList>
#include <QUtf8StringView>
#include <QUuid>

#include <libical/ical.h>

#include <algorithm>
#include <iterator>
#include <map>

namespace {

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
        return QStringLiteral("malformed %1 value %2").arg(name, ICalendarValues::quoted(property.value));
    }
}

struct TimeValue {
    DateTimeValue value;
    ICalendarZone zone;
};

// The earliest and latest moments an event may have: what the year fields of iCalendar's DATE and
// DATE-TIME can write in any zone, so that every export imports back.
const Date earliestDate = Day(1, 1, 2).beginDateTime();
const Date latestDate = Day(9999, 12, 30).beginDateTime();

// One reading of an iCalendar text into event records.
class Reading final : public ICalendarTimeZones::Delegate {
public:
    Reading(const QByteArray& text, EKEventStore& store, const ICalendarReader::ProgressCallback& progress,
            bool strict)
        : m_text(text), m_store(store), m_progress(progress), m_strict(strict),
          m_defaultZoneName(TimeZone::defaultTimeZone().name()), m_zones(text, *this) {}

    std::vector<std::shared_ptr<EKEvent>> read() {
        m_allUtf8 = QUtf8StringView(m_text).isValidUtf8();
        // For the progress: every event begins with this line, nearly always in capitals.
        if (m_progress) {
            m_expectedEvents = int(m_text.count("BEGIN:VEVENT") + m_text.count("begin:vevent"));
        }
        ContentLineReader lines(m_text, ContentLineReader::Syntax::ICalendar);
        std::vector<ICalendarComponent> topLevel;
        try {
            topLevel = ICalendarComponentNesting(
                           m_text.size(), m_strict, m_warnings, m_skipped,
                           [this](ICalendarComponent&& component) { take(std::move(component)); })
                           .read(lines);
        } catch (const ICalendarReadFailure&) {
            // A broken limit anywhere in the text is reported before a broken structure.
            lines.skipToEnd();
            if (!lines.problem().isEmpty()) {
                throw ICalendarReadFailure{lines.problemLine(), lines.problem()};
            }
            throw;
        }
        for (const ICalendarComponent& component : topLevel) {
            if (component.name == "VCALENDAR") {
                checkVersion(component);
            } else {
                skipEventsWithin(component, QStringLiteral("outside of a VCALENDAR"));
            }
        }
        // Events that use a zone whose VTIMEZONE came after them.
        for (const ICalendarComponent& event : m_deferred) {
            readOne(event);
        }
        m_deferred.clear();
        for (const auto& [kind, countAndLine] : m_otherKinds) {
            m_warnings.push_back(ICalendarReadFailure{
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
                [](const ICalendarReadFailure& a, const ICalendarReadFailure& b) { return a.line < b.line; });
        }
        if (m_progress && m_done > 0) {
            m_progress(m_done, m_done);
        }
        return linkOccurrences();
    }

    std::vector<ICalendarReadFailure> m_skipped;
    std::vector<ICalendarReadFailure> m_warnings;

private:
    struct Record {
        std::shared_ptr<EKEvent> event;
        QString uid;
        int line = 0;
        bool cancelled = false;
        QByteArray recurrenceIdText;
    };

    void skip(const ICalendarReadFailure& failure) { m_skipped.push_back(failure); }

    void warn(int line, QString problem) override {
        m_warnings.push_back(ICalendarReadFailure{line, std::move(problem)});
    }

    void tolerate(int line, const QString& problem, const QString& assumption) override {
        if (m_strict) {
            throw ICalendarReadFailure{line, problem};
        }
        warn(line, QStringLiteral("%1; %2").arg(problem, assumption));
    }

    // Some writers repeat a property that may occur once (two DTSTART lines); the first is meant as
    // much as any other, and reading it keeps the event.
    const ContentLine* single(const ICalendarComponent& component, const char* propertyName) override {
        if (m_strict) {
            return component.single(propertyName);
        }
        const std::vector<const ContentLine*> found = component.all(propertyName);
        for (size_t further = 1; further < found.size(); ++further) {
            tolerate(found[further]->line,
                     QStringLiteral("%1 occurs more than once in %2")
                         .arg(QLatin1String(propertyName), ContentLineReader::excerpt(component.name)),
                     QStringLiteral("the one on line %1 is used and this one is left out")
                         .arg(found.front()->line));
        }
        return found.empty() ? nullptr : found.front();
    }

    // A component of a VCALENDAR, just complete: an event is read at once (unless a zone it uses
    // is still to come), a time zone kept for the events, anything else counted and let go.
    void take(ICalendarComponent&& component) {
        for (const ICalendarComponent& child : component.children) {
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
                m_zones.define(unescape(*tzid), std::move(component));
            }
        } else if (component.name == "VTODO" || component.name == "VJOURNAL") {
            auto& [count, firstLine] = m_otherKinds[component.name];
            firstLine = count++ == 0 ? component.beginLine : firstLine;
        }
    }

    // Whether the event names a zone that neither ICU nor a VTIMEZONE read so far defines.
    bool zonesToCome(const ICalendarComponent& event) {
        std::vector<const ICalendarComponent*> pending{&event};
        for (size_t next = 0; next < pending.size(); ++next) {
            for (const ContentLine& property : pending[next]->properties) {
                const QByteArray tzid = property.parameter("TZID");
                if (!tzid.isNull() && !m_zones.isKnown(tzid, property.line)) {
                    return true;
                }
            }
            for (const ICalendarComponent& child : pending[next]->children) {
                pending.push_back(&child);
            }
        }
        return false;
    }

    void readOne(const ICalendarComponent& event) {
        try {
            if (event.damage) {
                throw *event.damage;
            }
            readEvent(event);
        } catch (const ICalendarReadFailure& failure) {
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
    ContentLineReader::Encoding encodingOf(const QByteArray& value, int line) override {
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
    void skipEventsWithin(const ICalendarComponent& top, const QString& where) {
        std::vector<const ICalendarComponent*> pending{&top};
        while (!pending.empty()) {
            const ICalendarComponent* component = pending.back();
            pending.pop_back();
            if (component->name == "VEVENT") {
                skip(ICalendarReadFailure{component->beginLine,
                                          QStringLiteral("VEVENT %1 is not read").arg(where)});
            }
            for (const ICalendarComponent& child : component->children) {
                pending.push_back(&child);
            }
        }
    }

    void checkVersion(const ICalendarComponent& calendar) {
        if (const ContentLine* version = calendar.first("VERSION")) {
            if (version->value.trimmed() != "2.0") {
                throw ICalendarReadFailure{version->line,
                                           QStringLiteral("iCalendar version %1 is not supported (only 2.0)")
                                               .arg(ICalendarValues::quoted(version->value))};
            }
        }
    }

    static void checkRepresentable(Date date, int line, const char* what) {
        if (date < earliestDate || date > latestDate) {
            throw ICalendarReadFailure{
                line, QStringLiteral("%1 lies outside the years 1 to 9999").arg(QLatin1String(what))};
        }
    }

    void readEvent(const ICalendarComponent& component) {
        const std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(m_store);
        const ContentLine* startProperty = single(component, "DTSTART");
        if (!startProperty) {
            throw ICalendarReadFailure{component.beginLine, QStringLiteral("DTSTART is missing")};
        }
        const TimeValue start = readEventTime(*startProperty);
        const bool allDay = start.value.isDate;
        const Date startDate = toDate(start);
        checkRepresentable(startDate, startProperty->line, "DTSTART");
        const QString zoneName =
            allDay ? QString() : eventZoneName(start.zone, startDate, startProperty->line);
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
            event->setURL(ICalendarValues::presentText(decode(url->value.trimmed(), url->line)));
        }

        const std::vector<const ContentLine*> rules = component.all("RRULE");
        if (rules.size() > 1) {
            throw ICalendarReadFailure{rules[1]->line,
                                       QStringLiteral("more than one RRULE in an event is not supported")};
        }
        if (!rules.empty()) {
            event->setRecurrenceRule(readRule(*rules.front()));
        }

        std::vector<Date> excluded;
        for (const ContentLine* property : component.all("EXDATE")) {
            for (const TimeValue& value : readTimes(*property)) {
                excluded.push_back(occurrenceDate(value, start));
            }
        }
        std::sort(excluded.begin(), excluded.end());
        excluded.erase(std::unique(excluded.begin(), excluded.end()), excluded.end());
        const std::vector<std::pair<Date, Date>> addedDates =
            readAddedDates(component, start, startDate, endDate, excluded);
        event->setExcludedOccurrenceDates(std::move(excluded));

        for (const ICalendarComponent& child : component.children) {
            if (child.name == "VALARM") {
                event->addAlarm(readAlarm(child, startDate, endDate));
            }
        }

        Record record;
        record.event = event;
        record.line = component.beginLine;
        const ContentLine* uid = single(component, "UID");
        record.uid = uid ? unescape(*uid).trimmed() : QString();
        if (const ContentLine* status = single(component, "STATUS")) {
            record.cancelled = status->value.trimmed().toUpper() == "CANCELLED";
        }
        const ContentLine* recurrenceId = single(component, "RECURRENCE-ID");
        // Without a UID the occurrence names no series to belong to; what it holds is an event.
        if (recurrenceId && record.uid.isEmpty()) {
            tolerate(recurrenceId->line, QStringLiteral("RECURRENCE-ID in an event without UID"),
                     QStringLiteral("it is left out and the event read as a single event"));
            recurrenceId = nullptr;
        }
        if (recurrenceId) {
            const TimeValue original = readTime(*recurrenceId);
            event->setOccurrenceDate(occurrenceDate(original, start));
            record.recurrenceIdText = recurrenceId->value.trimmed();
        }
        // What the own checks above let through, libical may still refuse; the event's identity is
        // taken only once nothing refuses it.
        m_leftOut.clear();
        checkWithLibical(component);
        keepOtherProperties(component, *event);
        if (recurrenceId) {
            if (recurrenceId->parameter("RANGE").toUpper() == "THISANDFUTURE") {
                warn(recurrenceId->line,
                     QStringLiteral("RANGE=THISANDFUTURE is read as this occurrence only"));
            }
            const auto key = std::make_pair(record.uid, event->occurrenceDate()->timeIntervalSince1970());
            if (const auto [found, added] = m_occurrenceLines.emplace(key, record.line); !added) {
                throw ICalendarReadFailure{
                    record.line,
                    QStringLiteral("the occurrence %1 of UID %2 is already changed by the event on line %3")
                        .arg(ICalendarValues::quoted(record.recurrenceIdText),
                             ICalendarValues::quoted(record.uid.toUtf8()))
                        .arg(found->second)};
            }
        } else {
            if (record.uid.isEmpty()) {
                record.uid = generatedUid(component);
            }
            if (const auto [found, added] = m_masterLines.emplace(record.uid, record.line); !added) {
                throw ICalendarReadFailure{record.line,
                                           QStringLiteral("UID %1 is already used by the event on line %2")
                                               .arg(ICalendarValues::quoted(record.uid.toUtf8()))
                                               .arg(found->second)};
            }
        }
        event->setEventIdentifier(record.uid);
        event->setCalendarItemExternalIdentifier(record.uid);
        if (!record.recurrenceIdText.isNull()) {
            m_occurrences.push_back(std::move(record));
            return;
        }
        m_masters.push_back(record);
        addEventsOfAddedDates(record, addedDates);
    }

    // Properties an event's own fields hold, or that are read into other events (RDATE, EXRULE).
    static bool isEventField(const QByteArray& name) {
        static const char* const fields[] = {"UID",           "SUMMARY",  "LOCATION", "DESCRIPTION",
                                             "URL",           "DTSTART",  "DTEND",    "DURATION",
                                             "RRULE",         "RDATE",    "EXDATE",   "EXRULE",
                                             "RECURRENCE-ID", "SEQUENCE", "DTSTAMP",  "LAST-MODIFIED"};
        return std::any_of(std::begin(fields), std::end(fields),
                           [&](const char* field) { return name == field; });
    }

    // The content line as written, unfolded.
    QString unfolded(const ContentLine& property) {
        QByteArray text = QByteArrayView(m_text).sliced(property.offset, property.length).toByteArray();
        for (const char* fold : {"\r\n ", "\r\n\t", "\n ", "\n\t"}) {
            text.replace(fold, "");
        }
        return decode(text, property.line);
    }

    // The component's properties that `isField` does not name and that were not left out, and its
    // components, whole, except those `skipped` names; one line each.
    QStringList otherLines(const ICalendarComponent& component,
                           const std::function<bool(const QByteArray&)>& isField, const char* skipped) {
        QStringList lines;
        for (const ContentLine& property : component.properties) {
            if (!isField(property.name) &&
                std::find(m_leftOut.begin(), m_leftOut.end(), &property) == m_leftOut.end()) {
                lines.append(unfolded(property));
            }
        }
        for (const ICalendarComponent& child : component.children) {
            if (skipped && child.name == skipped) {
                continue;
            }
            lines.append(QStringLiteral("BEGIN:") + QString::fromLatin1(child.name));
            lines.append(otherLines(
                child, [](const QByteArray&) { return false; }, nullptr));
            lines.append(QStringLiteral("END:") + QString::fromLatin1(child.name));
        }
        return lines;
    }

    // What the event's fields do not hold stays with it as written, to be written back unchanged:
    // the other properties and components, those of its alarms, its SEQUENCE and LAST-MODIFIED.
    void keepOtherProperties(const ICalendarComponent& component, EKEvent& event) {
        const auto kept = [this](const ContentLine* property) {
            return property && std::find(m_leftOut.begin(), m_leftOut.end(), property) == m_leftOut.end();
        };
        event.setOtherProperties(otherLines(component, isEventField, "VALARM").join(QLatin1Char('\n')));
        if (const ContentLine* sequence = component.first("SEQUENCE"); kept(sequence)) {
            event.setSequence(sequence->value.trimmed().toInt());
        }
        if (const ContentLine* modified = component.first("LAST-MODIFIED"); kept(modified)) {
            try {
                event.setLastModifiedDate(toDate(readTime(*modified)));
            } catch (const ICalendarReadFailure&) {
                // Only a record of the other program's; the event does not need it.
            }
        }
        std::vector<EKAlarm> alarms = event.alarms();
        auto alarm = alarms.begin();
        for (const ICalendarComponent& child : component.children) {
            if (child.name == "VALARM" && alarm != alarms.end()) {
                const auto isTrigger = [](const QByteArray& name) { return name == "TRIGGER"; };
                (alarm++)->setOtherProperties(otherLines(child, isTrigger, nullptr).join(QLatin1Char('\n')));
            }
        }
        event.setAlarms(std::move(alarms));
    }

    EKRecurrenceRule readRule(const ContentLine& property) const {
        const QByteArray ruleText = property.value.trimmed();
        QString problem;
        std::optional<EKRecurrenceRule> rule;
        if (const std::optional<QByteArray> plain = ICalendarValues::plainRule(ruleText, &problem)) {
            const QString plainText = QString::fromUtf8(*plain);
            rule = EKRecurrenceRule::fromRRule(plainText, &problem);
            // The store's account of the problem quotes the whole rule; the excerpt below is enough.
            problem.remove(QStringLiteral("“%1” ").arg(plainText));
            if (problem.endsWith(QLatin1String(" is not valid."))) {
                problem.clear();
            }
        }
        if (!rule) {
            throw ICalendarReadFailure{
                property.line, QStringLiteral("invalid RRULE %1%2")
                                   .arg(ICalendarValues::quoted(ruleText),
                                        problem.isEmpty() ? QString() : QStringLiteral(": ") + problem)};
        }
        return *rule;
    }

    // The store keeps no dates added to a series (RDATE): each becomes an event of its own with
    // the event's fields, at its date with the event's length, or a period's own start and end (RFC
    // 5545 3.3.9). The first start and excluded dates add nothing.
    std::vector<std::pair<Date, Date>> readAddedDates(const ICalendarComponent& component,
                                                      const TimeValue& start, Date startDate, Date endDate,
                                                      const std::vector<Date>& excluded) {
        std::vector<std::pair<Date, Date>> added;
        for (const ContentLine* property : component.all("RDATE")) {
            if (property->value.trimmed().isEmpty()) {
                continue;
            }
            tolerate(property->line, QStringLiteral("RDATE is not kept with the event"),
                     QStringLiteral("its dates are read as events of their own"));
            ContentLine dates = *property;
            std::erase_if(dates.parameters, [](const auto& parameter) {
                return parameter.first == "VALUE" && parameter.second.toUpper() == "PERIOD";
            });
            for (const QByteArray& item : property->value.split(',')) {
                const QByteArray text = item.trimmed();
                if (text.isEmpty()) {
                    continue;
                }
                const qsizetype slash = text.indexOf('/');
                const Date from = occurrenceDate(readTime(dates, slash < 0 ? text : text.left(slash)), start);
                Date to = from.addingTimeInterval(endDate.timeIntervalSinceDate(startDate));
                if (slash >= 0) {
                    const QByteArray second = text.mid(slash + 1);
                    if (second.startsWith('P') || second.startsWith('+') || second.startsWith('-')) {
                        const std::optional<ICalendarValues::DurationValue> length =
                            ICalendarValues::readDurationValue(second);
                        if (!length) {
                            throw ICalendarReadFailure{property->line,
                                                       QStringLiteral("malformed RDATE period %1")
                                                           .arg(ICalendarValues::quoted(text))};
                        }
                        to = from.addingTimeInterval(static_cast<double>(length->exactSeconds()));
                    } else {
                        to = toDate(readTime(dates, second));
                    }
                }
                checkRepresentable(to, property->line, "the end of an RDATE");
                if (from != startDate &&
                    std::find(excluded.begin(), excluded.end(), from) == excluded.end()) {
                    added.emplace_back(from, std::max(from, to));
                }
            }
        }
        return added;
    }

    // The events of the dates an event adds, each under its own identifier (the event's and its
    // start).
    void addEventsOfAddedDates(const Record& master, const std::vector<std::pair<Date, Date>>& added) {
        for (const auto& [from, to] : added) {
            Record record;
            record.event = master.event->copy();
            record.event->setRecurrenceRule(std::nullopt);
            record.event->setExcludedOccurrenceDates({});
            record.event->setStartDate(from);
            record.event->setEndDate(to);
            record.line = master.line;
            record.uid = master.uid + QStringLiteral("/") + WallClock::formatUtc(from);
            if (!m_masterLines.emplace(record.uid, record.line).second) {
                continue;
            }
            record.event->setEventIdentifier(record.uid);
            record.event->setCalendarItemExternalIdentifier(record.uid);
            m_masters.push_back(std::move(record));
        }
    }

    // Properties the reading above takes care of itself; libical checks the others.
    static bool readHere(const ICalendarComponent& component, const QByteArray& name) {
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
    void checkWithLibical(const ICalendarComponent& component) override {
        std::vector<const ContentLine*> properties;
        std::vector<const ICalendarComponent*> pending{&component};
        for (size_t next = 0; next < pending.size(); ++next) {
            for (const ContentLine& property : pending[next]->properties) {
                if (!readHere(*pending[next], property.name)) {
                    properties.push_back(&property);
                }
            }
            for (const ICalendarComponent& child : pending[next]->children) {
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
            throw ICalendarReadFailure{
                component.beginLine,
                QStringLiteral("the %1 cannot be read").arg(ContentLineReader::excerpt(component.name))};
        }
        for (size_t i = 0; i < holders.size(); ++i) {
            if (std::optional<QString> complaint = libicalComplaint(holders[i], *properties[i])) {
                if (m_strict) {
                    throw ICalendarReadFailure{properties[i]->line, *complaint};
                }
                warn(properties[i]->line, *complaint + QStringLiteral("; the property is left out"));
                m_leftOut.push_back(properties[i]);
            }
        }
    }

    // The identifier of an event without UID comes from its text, so that importing the same file
    // again replaces the event instead of adding it twice.
    QString generatedUid(const ICalendarComponent& component) {
        static const QUuid space(QStringLiteral("{5d3c7a2e-9f41-4b8e-a6c2-0e7b1f4d8a93}"));
        const QByteArray data = component.text(m_text);
        QString uid = QUuid::createUuidV5(space, data).toString(QUuid::WithoutBraces);
        for (int copy = 2; m_masterLines.count(uid) != 0; ++copy) {
            uid = QUuid::createUuidV5(space, data + QByteArray::number(copy)).toString(QUuid::WithoutBraces);
        }
        return uid;
    }

    QString text(const ICalendarComponent& component, const char* propertyName) {
        const ContentLine* property = component.first(propertyName);
        if (!property) {
            return QString();
        }
        return ICalendarValues::presentText(unescape(*property));
    }

    Date readEnd(const ICalendarComponent& component, const TimeValue& start, Date startDate,
                 const QString& zoneName) {
        const ContentLine* endProperty = single(component, "DTEND");
        const ContentLine* durationProperty = single(component, "DURATION");
        const bool allDay = start.value.isDate;
        const Day startDay(start.value.year, start.value.month, start.value.day);
        if (endProperty && durationProperty) {
            throw ICalendarReadFailure{durationProperty->line,
                                       QStringLiteral("DTEND and DURATION are both given")};
        }
        if (endProperty) {
            const TimeValue end = readEventTime(*endProperty);
            if (end.value.isDate != allDay) {
                throw ICalendarReadFailure{
                    endProperty->line, allDay ? QStringLiteral("DTEND is a date-time but DTSTART is a date")
                                              : QStringLiteral("DTEND is a date but DTSTART is a date-time")};
            }
            Date endDate;
            if (allDay) {
                const Day endDay(end.value.year, end.value.month, end.value.day);
                if (endDay < startDay) {
                    throw ICalendarReadFailure{endProperty->line, QStringLiteral("DTEND is before DTSTART")};
                }
                // An end on the start day itself still means that one day.
                endDate = (endDay == startDay ? startDay.nextDay() : endDay).beginDateTime();
            } else {
                endDate = toDate(end);
                if (endDate < startDate) {
                    throw ICalendarReadFailure{endProperty->line, QStringLiteral("DTEND is before DTSTART")};
                }
            }
            checkRepresentable(endDate, endProperty->line, "DTEND");
            return endDate;
        }
        if (durationProperty) {
            const std::optional<ICalendarValues::DurationValue> duration =
                ICalendarValues::readDurationValue(durationProperty->value.trimmed());
            if (!duration) {
                throw ICalendarReadFailure{durationProperty->line,
                                           QStringLiteral("malformed DURATION value %1")
                                               .arg(ICalendarValues::quoted(durationProperty->value))};
            }
            if (duration->negative && duration->exactSeconds() != 0) {
                throw ICalendarReadFailure{durationProperty->line, QStringLiteral("DURATION is negative")};
            }
            // Longer than the years that can be written: the end cannot be either.
            const qint64 daysAtMost =
                CivilDate::daysFromCivil(10000, 1, 1) - CivilDate::daysFromCivil(1, 1, 1);
            if (duration->days + duration->seconds / 86400 > daysAtMost) {
                throw ICalendarReadFailure{durationProperty->line,
                                           QStringLiteral("DURATION ends after the year 9999")};
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
                throw ICalendarReadFailure{durationProperty->line,
                                           QStringLiteral("DURATION ends after the year 9999")};
            }
            return endDate;
        }
        // RFC 5545 3.6.1: a date lasts the day, a date-time nothing.
        return allDay ? startDay.nextDay().beginDateTime() : startDate;
    }

    EKAlarm readAlarm(const ICalendarComponent& alarm, Date startDate, Date endDate) {
        const ContentLine* trigger = single(alarm, "TRIGGER");
        if (!trigger) {
            throw ICalendarReadFailure{alarm.beginLine, QStringLiteral("VALARM has no TRIGGER")};
        }
        const QByteArray valueType = trigger->parameter("VALUE").toUpper();
        double offset = 0;
        if (valueType == "DATE-TIME") {
            const TimeValue when = readTime(*trigger);
            offset = toDate(when).timeIntervalSinceDate(startDate);
        } else {
            if (!valueType.isNull() && valueType != "DURATION") {
                throw ICalendarReadFailure{trigger->line, QStringLiteral("unsupported VALUE=%1 for TRIGGER")
                                                              .arg(ContentLineReader::excerpt(valueType))};
            }
            const std::optional<ICalendarValues::DurationValue> duration =
                ICalendarValues::readDurationValue(trigger->value.trimmed());
            if (!duration) {
                throw ICalendarReadFailure{trigger->line, QStringLiteral("malformed TRIGGER value %1")
                                                              .arg(ICalendarValues::quoted(trigger->value))};
            }
            offset = double(duration->exactSeconds());
            const QByteArray related = trigger->parameter("RELATED").toUpper();
            if (related == "END") {
                offset += endDate.timeIntervalSinceDate(startDate);
            } else if (!related.isNull() && related != "START") {
                throw ICalendarReadFailure{
                    trigger->line,
                    QStringLiteral("unknown RELATED value %1").arg(ICalendarValues::quoted(related))};
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

    // The start or end of an event. A date with a TZID (and no VALUE=DATE) stands where a
    // date-time is meant, as the zone says: it is read as midnight in that zone.
    TimeValue readEventTime(const ContentLine& property) {
        TimeValue time = readTime(property);
        const QByteArray tzid = property.parameter("TZID");
        if (time.value.isDate && !tzid.isNull() && property.parameter("VALUE").toUpper() != "DATE") {
            tolerate(property.line,
                     QStringLiteral("%1 is a date with a TZID, where a date-time is expected")
                         .arg(ContentLineReader::excerpt(property.name)),
                     QStringLiteral("it is read as midnight of that date"));
            time.value.isDate = false;
            time.zone = m_zones.resolve(tzid, property.line);
        }
        return time;
    }

    TimeValue readTime(const ContentLine& property, const QByteArray& text) {
        const QString name = ContentLineReader::excerpt(property.name);
        const QByteArray valueType = property.parameter("VALUE").toUpper();
        if (!valueType.isNull() && valueType != "DATE" && valueType != "DATE-TIME") {
            throw ICalendarReadFailure{property.line, QStringLiteral("unsupported VALUE=%1 for %2")
                                                          .arg(ContentLineReader::excerpt(valueType), name)};
        }
        const std::optional<DateTimeValue> value = ICalendarValues::readDateTimeValue(text.trimmed());
        if (!value || (valueType == "DATE" && !value->isDate) ||
            (valueType == "DATE-TIME" && value->isDate)) {
            throw ICalendarReadFailure{
                property.line,
                QStringLiteral("malformed %1 value %2").arg(name, ICalendarValues::quoted(text))};
        }
        TimeValue time;
        time.value = *value;
        if (value->isDate) {
            return time;
        }
        if (value->isUtc) {
            time.zone.kind = ICalendarZone::Kind::Utc;
            return time;
        }
        const QByteArray tzid = property.parameter("TZID");
        if (!tzid.isNull()) {
            time.zone = m_zones.resolve(tzid, property.line);
        }
        return time;
    }

    Date toDate(const TimeValue& time) {
        const DateTimeValue& value = time.value;
        if (value.isDate) {
            return Day(value.year, value.month, value.day).beginDateTime();
        }
        switch (time.zone.kind) {
        case ICalendarZone::Kind::Floating:
            return m_calendars.date(m_defaultZoneName, value);
        case ICalendarZone::Kind::Utc:
            return m_calendars.date(QStringLiteral("UTC"), value);
        case ICalendarZone::Kind::Icu:
            return m_calendars.date(time.zone.icuName, value);
        case ICalendarZone::Kind::Custom:
            break;
        }
        return ICalendarTimeZones::definedZoneDate(value, time.zone.custom);
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

    // A zone only the file defines is kept as the ICU zone with its rules, so that the event's
    // wall-clock times and repetitions stay the file's; one without such a zone keeps UTC.
    QString eventZoneName(const ICalendarZone& zone, Date start, int line) {
        switch (zone.kind) {
        case ICalendarZone::Kind::Floating:
            return m_defaultZoneName;
        case ICalendarZone::Kind::Icu:
            return zone.icuName;
        case ICalendarZone::Kind::Utc:
            return QStringLiteral("UTC");
        case ICalendarZone::Kind::Custom:
            break;
        }
        if (const std::optional<QString> equivalent = m_zones.icuZoneWithRulesOf(zone.custom, start)) {
            return *equivalent;
        }
        warn(line, QStringLiteral("the time zone the file defines matches no known zone; the event's times "
                                  "are kept in UTC and its repetitions do not follow the zone's changes"));
        return QStringLiteral("UTC");
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
                         .arg(ICalendarValues::quoted(occurrence.uid.toUtf8())));
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
    std::vector<ICalendarComponent> m_deferred;
    std::map<QByteArray, std::pair<int, int>> m_otherKinds;
    int m_expectedEvents = 0;
    int m_done = 0;
    ICalendarTimeZones m_zones;
    std::vector<Record> m_masters;
    std::vector<Record> m_occurrences;
    std::map<QString, int> m_masterLines;
    std::map<std::pair<QString, double>, int> m_occurrenceLines;
    // The properties of the event being read that are left out, as libical refuses them.
    std::vector<const ContentLine*> m_leftOut;
};

} // namespace

QString ICalendarError::message() const {
    if (line > 0) {
        return QStringLiteral("%1:%2: %3").arg(fileName, QString::number(line), problem);
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
    const auto located = [&](const ICalendarReadFailure& failure) {
        return ICalendarError{fileName, failure.line, failure.problem};
    };
    if (auto problem = ContentLineReader::startProblem(text, ContentLineReader::Syntax::ICalendar)) {
        result.error = ICalendarError{fileName, problem->line, std::move(problem->problem)};
        return result;
    }
    Reading reading(text, m_store, m_onProgress, m_strictness == Strictness::RefuseFile);
    try {
        result.events = reading.read();
    } catch (const ICalendarReadFailure& failure) {
        result.events.clear();
        result.error = located(failure);
        return result;
    }
    const auto inLineOrder = [&](std::vector<ICalendarReadFailure>& failures) {
        std::stable_sort(
            failures.begin(), failures.end(),
            [](const ICalendarReadFailure& a, const ICalendarReadFailure& b) { return a.line < b.line; });
        std::vector<ICalendarError> errors;
        for (const ICalendarReadFailure& failure : failures) {
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
    const std::optional<QByteArray> text =
        ContentLineReader::readFile(path, ContentLineReader::Syntax::ICalendar, &problem);
    if (!text) {
        ICalendarParseResult result;
        result.error = ICalendarError{fileName, 0, problem};
        return result;
    }
    return read(*text, fileName);
}
