#pragma once

#include "core/eventstore/EKEvent.h"
#include "core/eventstore/ZoneCalendars.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class Day;

// Writes event records as .ics text: a VCALENDAR with one VEVENT per record and a VTIMEZONE for
// each zone used, CRLF line endings, lines folded at 75 octets.
class ICalendarWriter {
public:
    QByteArray write(const std::vector<std::shared_ptr<EKEvent>>& records);

    // TEXT values (RFC 5545 3.3.11).
    static QByteArray escapeText(const QString& text);
    // Folds one content line (RFC 5545 3.1) without splitting a UTF-8 sequence and ends it with CRLF.
    static QByteArray foldLine(const QByteArray& line);

private:
    void writeEvent(const EKEvent& event, QByteArray& out);
    QString zoneOf(const EKEvent& event) const;
    QByteArray time(const QString& zone, const std::vector<Date>& dates);
    static QByteArray days(const std::vector<Date>& dates);
    static QByteArray format(const DateTimeValue& value, bool dateOnly);
    static QByteArray formatDay(const Day& day);
    static QByteArray duration(double seconds);
    static void writeTimeZone(const QString& zone, Date earliest, QByteArray& out);

    QString m_defaultZoneName;
    ZoneCalendars m_calendars;
    // The series of the records being written, by identifier.
    std::map<QString, const EKEvent*> m_series;
    // Each zone a time is written in, with the earliest time written in it.
    std::map<QString, Date> m_zonesUsed;
};
