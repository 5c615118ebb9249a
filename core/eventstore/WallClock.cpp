#include "core/eventstore/WallClock.h"

#include "core/calendar/DateUtilities.h"
#include "foundation/CivilDate.h"
#include "foundation/StringUtilities.h"
#include "foundation/TimeZone.h"
#include "foundation/WallTime.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

// A zone with the offset that held around the last instant asked for, and the span of UTC
// milliseconds between the transitions around it, so that most conversions need no ICU call.
struct CachedZone {
    std::unique_ptr<icu::BasicTimeZone> zone;
    double from = 0.0;
    double to = -1.0;
    std::int32_t offset = 0;
};

struct ThreadZones {
    std::map<QString, CachedZone> named;
    CachedZone defaultZone;
    std::uint64_t defaultGeneration = 0;
    QString lastName;
    CachedZone* last = nullptr;
};

thread_local ThreadZones t_zones;

// Near a transition a wall time may be skipped or repeated; conversions there go through ICU.
constexpr double transitionMargin = 86400000.0;

std::unique_ptr<icu::BasicTimeZone> asBasic(icu::TimeZone* zone) {
    if (auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone)) {
        return std::unique_ptr<icu::BasicTimeZone>(basic);
    }
    delete zone;
    return nullptr;
}

CachedZone& defaultZone() {
    const std::uint64_t generation = TimeZone::defaultTimeZoneGeneration();
    if (!t_zones.defaultZone.zone || t_zones.defaultGeneration != generation) {
        t_zones.defaultZone = CachedZone{asBasic(icu::TimeZone::createDefault())};
        if (!t_zones.defaultZone.zone) {
            t_zones.defaultZone.zone = asBasic(icu::TimeZone::createTimeZone(UNICODE_STRING_SIMPLE("UTC")));
        }
        t_zones.defaultGeneration = generation;
    }
    return t_zones.defaultZone;
}

// An unknown name falls back to the process default zone rather than to ICU's "Etc/Unknown".
CachedZone& zoneNamed(const QString& name) {
    if (name.isEmpty()) {
        return defaultZone();
    }
    if (t_zones.last && t_zones.lastName == name) {
        return t_zones.last->zone ? *t_zones.last : defaultZone();
    }
    auto found = t_zones.named.find(name);
    if (found == t_zones.named.end()) {
        std::unique_ptr<icu::BasicTimeZone> zone =
            asBasic(icu::TimeZone::createTimeZone(StringUtilities::toUnicodeString(name)));
        icu::UnicodeString id;
        if (zone && zone->getID(id) == icu::UnicodeString(UCAL_UNKNOWN_ZONE_ID)) {
            zone.reset();
        }
        found = t_zones.named.emplace(name, CachedZone{std::move(zone)}).first;
    }
    t_zones.lastName = name;
    t_zones.last = &found->second;
    return found->second.zone ? found->second : defaultZone();
}

// The offset in milliseconds at a UTC instant (ICU milliseconds).
std::int32_t offsetAt(CachedZone& zone, double udate) {
    if (udate >= zone.from && udate < zone.to) {
        return zone.offset;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    zone.zone->getOffset(udate, false, raw, dst, status);
    icu::TimeZoneTransition transition;
    zone.from = zone.zone->getPreviousTransition(udate, true, transition) ? transition.getTime() : -1e300;
    zone.to = zone.zone->getNextTransition(udate, false, transition) ? transition.getTime() : 1e300;
    zone.offset = raw + dst;
    return zone.offset;
}

// The UTC instant of a local time when it lies well inside the cached span.
std::optional<double> cachedUtc(CachedZone& zone, double local) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double utc = local - zone.offset;
        if (utc >= zone.from + transitionMargin && utc < zone.to - transitionMargin) {
            return utc;
        }
        if (attempt == 0) {
            offsetAt(zone, utc);
        }
    }
    return std::nullopt;
}

int digitsAt(const QString& text, qsizetype position, qsizetype count, bool& ok) {
    int value = 0;
    for (qsizetype i = position; i < position + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

std::int64_t WallClock::wallSeconds(Date date, const QString& zone) {
    const double wall = date.timeIntervalSince1970() + offsetAt(zoneNamed(zone), date.udate()) / 1000.0;
    return static_cast<std::int64_t>(std::floor(wall));
}

Date WallClock::date(std::int64_t wallSeconds, const QString& zone) {
    CachedZone& cached = zoneNamed(zone);
    const double local = static_cast<double>(wallSeconds) * 1000.0;
    if (const std::optional<double> utc = cachedUtc(cached, local)) {
        return Date::withUDate(*utc);
    }
    return WallTime::dateFromLocalMilliseconds(local, *cached.zone);
}

Date WallClock::startOfDay(std::int64_t days) {
    if (const std::optional<double> utc =
            cachedUtc(defaultZone(), static_cast<double>(days * secondsPerDay) * 1000.0)) {
        return Date::withUDate(*utc);
    }
    const CivilDate civil = CivilDate::civilFromDays(days);
    return DateUtilities::dateWithYear(civil.year, civil.month, civil.day);
}

std::int64_t WallClock::dayOf(Date date) {
    return CivilDate::floorDiv(wallSeconds(date, QString()), secondsPerDay);
}

bool WallClock::isKnownZone(const QString& zone) {
    // The thread's zones remember the names ICU does not know as well.
    return !zone.isEmpty() && &zoneNamed(zone) != &t_zones.defaultZone;
}

QString WallClock::defaultZoneName() {
    icu::UnicodeString id;
    defaultZone().zone->getID(id);
    return StringUtilities::fromUnicodeString(id);
}

namespace {

// Writes `value` as `count` decimal digits (a bulk import formats two walls per event).
char* digits(char* out, std::int64_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + count;
}

} // namespace

QString WallClock::formatWall(std::int64_t wall) {
    const std::int64_t days = CivilDate::floorDiv(wall, secondsPerDay);
    const std::int64_t seconds = wall - days * secondsPerDay;
    const CivilDate civil = CivilDate::civilFromDays(days);
    if (civil.year < 0 || civil.year > 9999) {
        return QString::asprintf("%04d%02d%02dT%02d%02d%02d", civil.year, civil.month, civil.day,
                                 static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                                 static_cast<int>(seconds % 60));
    }
    char text[15];
    char* out = digits(text, civil.year, 4);
    out = digits(out, civil.month, 2);
    out = digits(out, civil.day, 2);
    *out++ = 'T';
    out = digits(out, seconds / 3600, 2);
    out = digits(out, seconds / 60 % 60, 2);
    digits(out, seconds % 60, 2);
    return QString::fromLatin1(text, 15);
}

QString WallClock::formatDay(std::int64_t days) {
    const CivilDate civil = CivilDate::civilFromDays(days);
    if (civil.year < 0 || civil.year > 9999) {
        return QString::asprintf("%04d%02d%02d", civil.year, civil.month, civil.day);
    }
    char text[8];
    digits(digits(digits(text, civil.year, 4), civil.month, 2), civil.day, 2);
    return QString::fromLatin1(text, 8);
}

std::optional<std::int64_t> WallClock::parseDay(const QString& text) {
    if (text.size() < 8) {
        return std::nullopt;
    }
    bool ok = true;
    const int year = digitsAt(text, 0, 4, ok);
    const int month = digitsAt(text, 4, 2, ok);
    const int day = digitsAt(text, 6, 2, ok);
    if (!ok || !CivilDate::isValid(year, month, day)) {
        return std::nullopt;
    }
    return CivilDate::daysFromCivil(year, month, day);
}

std::optional<std::int64_t> WallClock::parseWall(const QString& text) {
    const std::optional<std::int64_t> days = parseDay(text);
    if (!days) {
        return std::nullopt;
    }
    if (text.size() == 8) {
        return *days * secondsPerDay;
    }
    if (text.size() < 15 || text.at(8) != QLatin1Char('T')) {
        return std::nullopt;
    }
    bool ok = true;
    const int hour = digitsAt(text, 9, 2, ok);
    const int minute = digitsAt(text, 11, 2, ok);
    const int second = digitsAt(text, 13, 2, ok);
    if (!ok || hour > 23 || minute > 59 || second > 60) {
        return std::nullopt;
    }
    return *days * secondsPerDay + hour * 3600 + minute * 60 + second;
}

QString WallClock::formatUtc(Date date) {
    const auto seconds = static_cast<std::int64_t>(std::floor(date.timeIntervalSince1970()));
    return formatWall(seconds) + QLatin1Char('Z');
}
