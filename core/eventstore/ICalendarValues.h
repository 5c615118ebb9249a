#pragma once

#include "core/eventstore/ZoneCalendars.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// The values of iCalendar properties (RFC 5545 3.3), read from their text; nothing here knows the
// file they come from.
namespace ICalendarValues {

// A DURATION value.
struct DurationValue {
    bool negative = false;
    qint64 days = 0;
    qint64 seconds = 0;

    qint64 exactSeconds() const { return (negative ? -1 : 1) * (days * 86400 + seconds); }
};

// The value in quotes, cut short when long, for messages.
QString quoted(const QByteArray& text);

// A present but empty text stays distinct from an absent one (a null QString).
QString presentText(QString text);

// DATE or DATE-TIME (RFC 5545 3.3.4, 3.3.5) in the basic format.
std::optional<DateTimeValue> readDateTimeValue(const QByteArray& text);

// RFC 5545 3.3.6; weeks count as nominal days.
std::optional<DurationValue> readDurationValue(const QByteArray& text);

// The rule as libical is given it, or nothing with the problem. RFC 7529: RSCALE=GREGORIAN with
// SKIP=OMIT is the plain rule and loses both; a rule in another calendar libical expands, or with
// another SKIP, keeps them (RSCALE first). Read it with IcalRules::fromString.
std::optional<QByteArray> plainRule(const QByteArray& rule, QString* problem);

} // namespace ICalendarValues
