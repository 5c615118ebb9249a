#include "core/eventstore/ICalendarTimeZones.h"

#include "core/eventstore/EquivalentZone.h"
#include "core/eventstore/ICalendarValues.h"
#include "core/eventstore/IcalRules.h"
#include "foundation/CivilDate.h"
#include "foundation/StringUtilities.h"
#include "foundation/TimeZone.h"

#include <unicode/timezone.h>

#include <algorithm>

namespace {

// Time zone changes a VTIMEZONE observance may make in a year; real zones make one or two.
constexpr int maximumChangesPerYear = 12;
// libical computes a zone's changes up to this year and repeats the last one after it.
constexpr int lastZoneYear = 2037;

struct IcalIteratorDeleter {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using IcalIteratorPointer = std::unique_ptr<icalrecur_iterator, IcalIteratorDeleter>;

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

} // namespace

ICalendarTimeZones::ICalendarTimeZones(const QByteArray& text, Delegate& delegate)
    : m_text(text), m_delegate(delegate) {}

void ICalendarTimeZones::define(const QString& name, ICalendarComponent&& definition) {
    m_definitionComponents.push_back(std::make_unique<ICalendarComponent>(std::move(definition)));
    m_definitions.emplace(name, m_definitionComponents.back().get());
}

bool ICalendarTimeZones::isKnown(const QByteArray& tzid, int line) {
    if (m_zones.count(tzid) || m_failures.count(tzid)) {
        return true;
    }
    const QString name = ContentLineReader::decode(tzid, m_delegate.encodingOf(tzid, line));
    return m_definitions.count(name) || icuZoneName(name);
}

Date ICalendarTimeZones::definedZoneDate(const DateTimeValue& value, icaltimezone* zone) {
    icaltimetype local = icalDateTime(value);
    local.zone = zone;
    return Date::withTimeIntervalSince1970(double(icaltime_as_timet_with_zone(local, zone)));
}

std::optional<QString> ICalendarTimeZones::icuZoneName(const QString& name) {
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
    icu::TimeZone::getIDForWindowsID(StringUtilities::toUnicodeString(name), nullptr, windowsMatch, status);
    if (U_SUCCESS(status) && !windowsMatch.isEmpty()) {
        return StringUtilities::fromUnicodeString(windowsMatch);
    }
    return std::nullopt;
}

ICalendarZone ICalendarTimeZones::resolve(const QByteArray& tzid, int line) {
    if (auto found = m_zones.find(tzid); found != m_zones.end()) {
        return found->second;
    }
    if (auto failed = m_failures.find(tzid); failed != m_failures.end()) {
        throw failed->second;
    }
    try {
        const ICalendarZone zone = newZone(tzid, line);
        m_zones.emplace(tzid, zone);
        return zone;
    } catch (const ICalendarReadFailure& failure) {
        m_failures.emplace(tzid, failure);
        throw;
    }
}

ICalendarZone ICalendarTimeZones::newZone(const QByteArray& tzid, int line) {
    const QString name = ContentLineReader::decode(tzid, m_delegate.encodingOf(tzid, line));
    ICalendarZone zone;
    const auto definition = m_definitions.find(name);
    std::optional<QString> icuName = icuZoneName(name);
    if (!icuName && definition != m_definitions.end()) {
        if (const ContentLine* location = definition->second->first("X-LIC-LOCATION")) {
            const QString locationName =
                ContentLineReader::unescapeText(location->value,
                                                m_delegate.encodingOf(location->value, location->line))
                    .trimmed();
            if (TimeZone::withName(locationName)) {
                icuName = locationName;
            }
        }
    }
    if (icuName) {
        zone.kind = ICalendarZone::Kind::Icu;
        zone.icuName = *icuName;
    } else if (definition != m_definitions.end()) {
        zone.kind = ICalendarZone::Kind::Custom;
        zone.custom = customZone(*definition->second);
    } else {
        m_delegate.warn(
            line, QStringLiteral("unknown time zone %1 (no VTIMEZONE defines it); its times are read as "
                                 "floating local time")
                      .arg(ICalendarValues::quoted(tzid)));
    }
    return zone;
}

std::optional<QString> ICalendarTimeZones::icuZoneWithRulesOf(icaltimezone* zone, Date from) {
    const int year = CivilDate::civilFromDays(
                         CivilDate::floorDiv(static_cast<std::int64_t>(from.timeIntervalSince1970()), 86400))
                         .year;
    const auto key = std::make_pair(zone, year);
    if (const auto found = m_icuZonesWithSameRules.find(key); found != m_icuZonesWithSameRules.end()) {
        return found->second;
    }
    const Date yearStart =
        Date::withTimeIntervalSince1970(static_cast<double>(CivilDate::daysFromCivil(year, 1, 1)) * 86400.0);
    return m_icuZonesWithSameRules.emplace(key, EquivalentZone::icuZoneFor(zone, yearStart)).first->second;
}

// A zone ICU does not know, converted with the file's own definition (RFC 5545 3.6.5).
icaltimezone* ICalendarTimeZones::customZone(const ICalendarComponent& definition) {
    if (definition.damage) {
        throw *definition.damage;
    }
    const bool hasObservance = std::any_of(
        definition.children.begin(), definition.children.end(),
        [](const ICalendarComponent& child) { return child.name == "STANDARD" || child.name == "DAYLIGHT"; });
    if (!hasObservance) {
        throw ICalendarReadFailure{definition.beginLine,
                                   QStringLiteral("VTIMEZONE has neither STANDARD nor DAYLIGHT")};
    }
    std::map<qsizetype, QByteArray> rewritten;
    for (const ICalendarComponent& observance : definition.children) {
        for (const char* required : {"DTSTART", "TZOFFSETFROM", "TZOFFSETTO"}) {
            if (!observance.first(required)) {
                throw ICalendarReadFailure{
                    observance.beginLine,
                    QStringLiteral("%1 of VTIMEZONE has no %2")
                        .arg(ContentLineReader::excerpt(observance.name), QLatin1String(required))};
            }
        }
        checkObservance(observance, &rewritten);
    }
    m_delegate.checkWithLibical(definition);
    IcalComponentPointer parsed(
        icalcomponent_new_from_string(libicalText(definition, rewritten).constData()));
    if (!parsed) {
        throw ICalendarReadFailure{definition.beginLine, QStringLiteral("the VTIMEZONE cannot be read")};
    }
    IcalTimezonePointer zone(icaltimezone_new());
    if (!icaltimezone_set_component(zone.get(), parsed.get())) {
        throw ICalendarReadFailure{definition.beginLine, QStringLiteral("the VTIMEZONE cannot be read")};
    }
    // The zone owns the component now.
    parsed.release();
    m_definedZones.push_back(std::move(zone));
    return m_definedZones.back().get();
}

// libical expands an observance's rule into every change from its start up to lastZoneYear
// before it converts a single time. A rule that changes more often than maximumChangesPerYear
// would cost time and memory without bound (one a minute is half a billion changes); it is
// refused here, counted with an iterator that stops at the bound.
void ICalendarTimeZones::checkObservance(const ICalendarComponent& observance,
                                         std::map<qsizetype, QByteArray>* rewritten) {
    const ContentLine* startProperty = m_delegate.single(observance, "DTSTART");
    for (const ContentLine* further : observance.all("DTSTART")) {
        if (further != startProperty) {
            (*rewritten)[further->offset] = QByteArray();
        }
    }
    std::optional<DateTimeValue> start = ICalendarValues::readDateTimeValue(startProperty->value.trimmed());
    if (!start) {
        throw ICalendarReadFailure{
            startProperty->line,
            QStringLiteral("malformed DTSTART value %1").arg(ICalendarValues::quoted(startProperty->value))};
    }
    // RFC 5545 3.6.5 asks for a local date-time; some writers give the date of the first change.
    if (start->isDate) {
        m_delegate.tolerate(startProperty->line,
                            QStringLiteral("DTSTART of %1 is a date where a date-time is expected")
                                .arg(ContentLineReader::excerpt(observance.name)),
                            QStringLiteral("it is read as midnight of that date"));
        start->isDate = false;
        (*rewritten)[startProperty->offset] =
            QString::asprintf("DTSTART:%04d%02d%02dT000000", start->year, start->month, start->day)
                .toLatin1();
    }
    for (const ContentLine* property : observance.all("RRULE")) {
        const QByteArray ruleText = property->value.trimmed();
        QString problem;
        std::optional<QByteArray> plain = ICalendarValues::plainRule(ruleText, &problem);
        if (plain && plain->toUpper().contains("RSCALE")) {
            problem = QStringLiteral("RSCALE in a time zone observance is not supported");
            plain.reset();
        }
        icalerror_clear_errno();
        const IcalRules::Rule read = plain ? IcalRules::fromString(*plain) : IcalRules::Rule{};
        const icalrecurrencetype& rule = read.rule;
        if (plain && (rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR)) {
            icalerror_clear_errno();
            plain.reset();
        }
        if (!plain) {
            throw ICalendarReadFailure{
                property->line, QStringLiteral("invalid RRULE %1%2")
                                    .arg(ICalendarValues::quoted(ruleText),
                                         problem.isEmpty() ? QString() : QStringLiteral(": ") + problem)};
        }
        if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
            rule.freq == ICAL_HOURLY_RECURRENCE) {
            throw ICalendarReadFailure{
                property->line, QStringLiteral("the time zone observance repeats more often than daily")};
        }
        const int years = std::max(1, lastZoneYear - start->year + 1);
        if (countChanges(rule, *start, maximumChangesPerYear * years) > maximumChangesPerYear * years) {
            throw ICalendarReadFailure{
                property->line, QStringLiteral("the time zone observance changes more than %1 times a year")
                                    .arg(maximumChangesPerYear)};
        }
    }
}

QByteArray ICalendarTimeZones::libicalText(const ICalendarComponent& component,
                                           const std::map<qsizetype, QByteArray>& rewritten) const {
    QByteArray text = "BEGIN:" + component.name + "\r\n";
    for (const ContentLine& property : component.properties) {
        const auto replaced = rewritten.find(property.offset);
        if (replaced == rewritten.end()) {
            text.append(QByteArrayView(m_text).sliced(property.offset, property.length)).append("\r\n");
        } else if (!replaced->second.isEmpty()) {
            text.append(replaced->second).append("\r\n");
        }
    }
    for (const ICalendarComponent& child : component.children) {
        text.append(libicalText(child, rewritten));
    }
    return text.append("END:" + component.name + "\r\n");
}

// The changes of an observance's rule up to lastZoneYear, counted up to one more than `limit`.
int ICalendarTimeZones::countChanges(const icalrecurrencetype& rule, const DateTimeValue& start, int limit) {
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
