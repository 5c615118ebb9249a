#include "core/eventstore/ICalendarWriter.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/eventstore/WallClock.h"
#include "foundation/Log.h"
#include "foundation/StringUtilities.h"
#include "foundation/TimeZone.h"

#include <QUuid>

#include <unicode/vtzone.h>

#include <algorithm>
#include <cmath>

namespace {

bool isUtcZoneName(const QString& name) {
    const std::optional<TimeZone> zone = TimeZone::withName(name);
    if (!zone) {
        return false;
    }
    const QString canonical = zone->canonicalName();
    return canonical == QLatin1String("Etc/UTC") || canonical == QLatin1String("Etc/GMT");
}

void line(QByteArray& out, const QByteArray& content) {
    out += ICalendarWriter::foldLine(content);
}

// Content lines kept from another program, one a line.
void keptLines(QByteArray& out, const QString& lines) {
    for (const QString& kept : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line(out, kept.toUtf8());
    }
}

bool hasProperty(const QString& lines, QLatin1StringView name) {
    for (const QString& kept : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (kept.startsWith(name, Qt::CaseInsensitive) && kept.size() > name.size() &&
            (kept[name.size()] == QLatin1Char(':') || kept[name.size()] == QLatin1Char(';'))) {
            return true;
        }
    }
    return false;
}

} // namespace

QByteArray ICalendarWriter::write(const std::vector<std::shared_ptr<EKEvent>>& records) {
    m_defaultZoneName = TimeZone::defaultTimeZone().name();
    m_series.clear();
    m_zonesUsed.clear();
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

QByteArray ICalendarWriter::format(const DateTimeValue& value, bool dateOnly) {
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

QByteArray ICalendarWriter::formatDay(const Day& day) {
    DateTimeValue value;
    value.year = day.yearNumber();
    value.month = day.monthNumber();
    value.day = day.dayNumber();
    return format(value, true);
}

// The zone the record's times are written in; empty for UTC.
QString ICalendarWriter::zoneOf(const EKEvent& event) const {
    QString zone = event.timeZone().isEmpty() ? m_defaultZoneName : event.timeZone();
    if (!TimeZone::withName(zone) || isUtcZoneName(zone)) {
        return QString();
    }
    return zone;
}

// ";TZID=...:value" or ":value" for a time of a timed event.
QByteArray ICalendarWriter::time(const QString& zone, const std::vector<Date>& dates) {
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

QByteArray ICalendarWriter::days(const std::vector<Date>& dates) {
    QByteArray text = ";VALUE=DATE:";
    for (size_t i = 0; i < dates.size(); ++i) {
        text += (i > 0 ? "," : "") + formatDay(DateUtilities::day(dates[i]));
    }
    return text;
}

void ICalendarWriter::writeEvent(const EKEvent& event, QByteArray& out) {
    line(out, "BEGIN:VEVENT");
    // The UID the event came with, unique in its calendar, else its identifier in the store.
    QString identifier = event.calendarItemExternalIdentifier();
    if (identifier.isEmpty()) {
        identifier = event.eventIdentifier().isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces)
                                                       : event.eventIdentifier();
    }
    line(out, "UID:" + escapeText(identifier));
    const std::optional<Date> modified = event.lastModifiedDate();
    line(out, "DTSTAMP" + time(QString(), {modified.value_or(Date::now())}));
    if (modified) {
        line(out, "LAST-MODIFIED" + time(QString(), {*modified}));
    }
    if (event.sequence() > 0) {
        line(out, "SEQUENCE:" + QByteArray::number(event.sequence()));
    }
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
        QByteArray recurrenceId = series.allDay() ? days({*original}) : time(zoneOf(series), {*original});
        // A start in an hour a clock change skips turns back into another wall time: the one the
        // series gives the occurrence is written as it is.
        if (!series.allDay() && event.occurrenceWall() && !zoneOf(series).isEmpty()) {
            recurrenceId = recurrenceId.left(recurrenceId.indexOf(':') + 1) +
                           WallClock::formatWall(*event.occurrenceWall()).toUtf8();
        }
        line(out, "RECURRENCE-ID" + recurrenceId);
    }
    if (!event.title().isNull()) {
        line(out, "SUMMARY:" + escapeText(event.title()));
    }
    if (!event.location().isNull()) {
        line(out, "LOCATION:" + escapeText(event.location()));
    }
    if (!event.notes().isNull()) {
        line(out, "DESCRIPTION:" + escapeText(event.notes()));
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
        // An alarm another program wrote keeps its action and texts; one made here is a display.
        const QString& kept = alarm.otherProperties();
        if (!hasProperty(kept, QLatin1StringView("ACTION"))) {
            line(out, "ACTION:DISPLAY");
            line(out, "DESCRIPTION:" +
                          escapeText(event.title().isEmpty() ? QStringLiteral("Reminder") : event.title()));
        }
        line(out, "TRIGGER:" + duration(alarm.relativeOffset()));
        keptLines(out, kept);
        line(out, "END:VALARM");
    }
    keptLines(out, event.otherProperties());
    line(out, "END:VEVENT");
}

QByteArray ICalendarWriter::duration(double seconds) {
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
void ICalendarWriter::writeTimeZone(const QString& zone, Date earliest, QByteArray& out) {
    std::unique_ptr<icu::VTimeZone> definition(
        icu::VTimeZone::createVTimeZoneByID(StringUtilities::toUnicodeString(zone)));
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    if (definition) {
        definition->write(earliest.addingTimeInterval(-366.0 * 86400).udate(), text, status);
    }
    if (!definition || U_FAILURE(status) || text.isEmpty()) {
        Log::warning(eventStoreLogCategory, QStringLiteral("no VTIMEZONE for %1").arg(zone));
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

QByteArray ICalendarWriter::escapeText(const QString& text) {
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

QByteArray ICalendarWriter::foldLine(const QByteArray& line) {
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
