#pragma once

#include "foundation/CivilDate.h"
#include "foundation/Date.h"

#include <unicode/timezone.h>

// A civil date and a time of day as a zone's clocks show them, and the moment they show it. Dates
// are proleptic Gregorian, as CivilDate counts them; month, day, hour, minute and second numbers out
// of range roll over into the neighbouring units.
struct WallTime {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;

    // Milliseconds since 1970-01-01 00:00 on a clock that never jumps.
    double localMilliseconds() const;

    // The moment the zone's clocks show this wall time. A time skipped when the clocks move forward
    // counts with the offset before the change (02:30 becomes 03:30); a time the clocks show twice
    // when they move back means its first occurrence, as RFC 5545 3.3.5 reads local times.
    Date dateIn(const icu::TimeZone& zone) const;
    // The same for a wall time given as localMilliseconds().
    static Date dateFromLocalMilliseconds(double localMilliseconds, const icu::TimeZone& zone);
};
