#include "foundation/WallTime.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>

double WallTime::localMilliseconds() const {
    constexpr double millisecondsPerDay = 86400000.0;
    const auto days = static_cast<double>(CivilDate::daysFromCivil(date.year, date.month, date.day));
    return days * millisecondsPerDay + ((hour * 60.0 + minute) * 60.0 + second) * 1000.0;
}

Date WallTime::dateIn(const icu::TimeZone& zone) const {
    return dateFromLocalMilliseconds(localMilliseconds(), zone);
}

Date WallTime::dateFromLocalMilliseconds(double localMilliseconds, const icu::TimeZone& zone) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    if (const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&zone)) {
        // "Former" picks the offset in force before a transition: for a skipped time that moves it
        // forward by the gap, for a repeated one it is the first of the two.
        basic->getOffsetFromLocal(localMilliseconds, UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER, raw, dst,
                                  status);
    } else {
        zone.getOffset(localMilliseconds, true, raw, dst, status);
    }
    if (U_FAILURE(status)) {
        raw = zone.getRawOffset();
        dst = 0;
    }
    return Date::withUDate(localMilliseconds - raw - dst);
}
