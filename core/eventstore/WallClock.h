#pragma once

#include "foundation/Date.h"

#include <QString>

#include <cstdint>
#include <optional>

// The event store's times: wall-clock times as plain numbers, their conversion to absolute dates
// in a time zone, and their iCalendar text. A wall time counts seconds since 1970-01-01 00:00 as if
// the clock never jumped; a day number is CivilDate's. Zones are ICU zones by name, the empty name
// meaning the process default zone; each thread keeps its own zone objects.
class WallClock {
public:
    static constexpr std::int64_t secondsPerDay = 86400;

    // The wall time of `date` in the zone, whole seconds (rounded down).
    static std::int64_t wallSeconds(Date date, const QString& zone);
    // The absolute date of a wall time in the zone. A time skipped by a daylight-saving change
    // counts with the offset before the change (02:30 becomes 03:30); a repeated time means its
    // first occurrence.
    static Date date(std::int64_t wallSeconds, const QString& zone);
    // 00:00 of the day in the process default zone, or the first moment after a gap at 00:00.
    static Date startOfDay(std::int64_t days);
    // The day of `date` in the process default zone.
    static std::int64_t dayOf(Date date);

    // True when ICU knows the zone name.
    static bool isKnownZone(const QString& zone);
    // The process default zone's name.
    static QString defaultZoneName();

    // "20240131T093000" and "20240131", as iCalendar writes them.
    static QString formatWall(std::int64_t wallSeconds);
    static QString formatDay(std::int64_t days);
    static std::optional<std::int64_t> parseWall(const QString& text);
    static std::optional<std::int64_t> parseDay(const QString& text);
    // "20240131T083000Z".
    static QString formatUtc(Date date);
};
