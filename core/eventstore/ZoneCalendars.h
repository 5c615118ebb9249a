#pragma once

#include "foundation/Date.h"

#include <QString>

#include <map>
#include <memory>

#include <unicode/gregocal.h>

// The fields of an iCalendar DATE or DATE-TIME (RFC 5545 3.3.4, 3.3.5).
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

// ICU calendars of the zones one reading or writing of iCalendar text uses, made once each, to
// turn wall-clock fields into moments and back.
class ZoneCalendars {
public:
    Date date(const QString& zoneName, const DateTimeValue& value);
    DateTimeValue fields(const QString& zoneName, Date date);
    // Calendar days keep their wall-clock time across daylight-saving changes.
    Date addDays(const QString& zoneName, Date date, int days);

private:
    icu::GregorianCalendar& calendar(const QString& zoneName);

    std::map<QString, std::unique_ptr<icu::GregorianCalendar>> m_calendars;
};
