#include "foundation/TimeZone.h"

#include "foundation/StringUtilities.h"

#include <unicode/strenum.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <atomic>
#include <memory>

namespace {

// ICU answers an unknown name with its "Etc/Unknown" zone rather than with an error.
std::unique_ptr<icu::TimeZone> createKnownZone(const QString& name) {
    if (name.isEmpty()) {
        return nullptr;
    }
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(StringUtilities::toUnicodeString(name)));
    icu::UnicodeString id;
    if (!zone || zone->getID(id) == icu::UnicodeString(UCAL_UNKNOWN_ZONE_ID)) {
        return nullptr;
    }
    return zone;
}

QString nameOf(const icu::TimeZone& zone) {
    icu::UnicodeString id;
    zone.getID(id);
    return StringUtilities::fromUnicodeString(id);
}

std::atomic<std::uint64_t>& defaultGeneration() {
    static std::atomic<std::uint64_t> generation{0};
    return generation;
}

} // namespace

std::optional<TimeZone> TimeZone::withName(const QString& name) {
    if (!createKnownZone(name)) {
        return std::nullopt;
    }
    return TimeZone(name);
}

TimeZone TimeZone::defaultTimeZone() {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    return TimeZone(nameOf(*zone));
}

void TimeZone::setDefaultTimeZone(const TimeZone& zone) {
    if (std::unique_ptr<icu::TimeZone> icuZone = createKnownZone(zone.name())) {
        icu::TimeZone::adoptDefault(icuZone.release());
        defaultGeneration().fetch_add(1, std::memory_order_acq_rel);
    }
}

std::uint64_t TimeZone::defaultTimeZoneGeneration() {
    return defaultGeneration().load(std::memory_order_acquire);
}

TimeZone TimeZone::systemTimeZone() {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    return TimeZone(nameOf(*zone));
}

QString TimeZone::canonicalName() const {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString canonical;
    icu::TimeZone::getCanonicalID(StringUtilities::toUnicodeString(m_name), canonical, status);
    return U_SUCCESS(status) && !canonical.isEmpty() ? StringUtilities::fromUnicodeString(canonical) : m_name;
}

// ICU's canonical ids follow CLDR, which keeps the older of two equivalent names ("Asia/Calcutta"
// rather than "Asia/Kolkata"); both names are known to withName().
QStringList TimeZone::knownTimeZoneNames() {
    QStringList names;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::StringEnumeration> ids(
        icu::TimeZone::createTimeZoneIDEnumeration(UCAL_ZONE_TYPE_CANONICAL, nullptr, nullptr, status));
    if (U_FAILURE(status) || !ids) {
        return names;
    }
    while (const icu::UnicodeString* id = ids->snext(status)) {
        if (U_FAILURE(status)) {
            break;
        }
        // ICU lists its "Factory" placeholder (no zone configured) among the canonical ids.
        if (*id != icu::UnicodeString(u"Factory")) {
            names.append(StringUtilities::fromUnicodeString(*id));
        }
    }
    return names;
}
