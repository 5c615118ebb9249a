#include "core/eventstore/EquivalentZone.h"

#include "foundation/StringUtilities.h"

#include <unicode/basictz.h>
#include <unicode/locid.h>
#include <unicode/strenum.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/vtzone.h>

#include <memory>

namespace {

constexpr double millisecondsPerYear = 365.2425 * 86400000.0;
constexpr double comparedYears = 100.0;

struct LibicalText {
    char* text = nullptr;
    ~LibicalText() { icalmemory_free_buffer(text); }
};

std::unique_ptr<icu::VTimeZone> asIcuZone(icaltimezone* defined) {
    icalcomponent* component = icaltimezone_get_component(defined);
    if (!component) {
        return nullptr;
    }
    const LibicalText text{icalcomponent_as_ical_string_r(component)};
    if (!text.text) {
        return nullptr;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::VTimeZone> zone(
        icu::VTimeZone::createVTimeZone(icu::UnicodeString::fromUTF8(text.text), status));
    return U_SUCCESS(status) ? std::move(zone) : nullptr;
}

std::unique_ptr<icu::BasicTimeZone> icuZoneNamed(const icu::UnicodeString& id) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(id));
    if (auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone.get())) {
        zone.release();
        return std::unique_ptr<icu::BasicTimeZone>(basic);
    }
    return nullptr;
}

bool sameRules(const icu::VTimeZone& defined, const icu::UnicodeString& id, double from) {
    const std::unique_ptr<icu::BasicTimeZone> candidate = icuZoneNamed(id);
    UErrorCode status = U_ZERO_ERROR;
    return candidate &&
           defined.hasEquivalentTransitions(*candidate, from, from + comparedYears * millisecondsPerYear,
                                            false, status) &&
           U_SUCCESS(status);
}

// The zone standing for the region of `id` at `from`, as ICU's names know it.
std::optional<icu::UnicodeString> regionZone(const icu::UnicodeString& id, double from) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::TimeZoneNames> names(
        icu::TimeZoneNames::createInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !names) {
        return std::nullopt;
    }
    icu::UnicodeString metaZone;
    names->getMetaZoneID(id, from, metaZone);
    if (metaZone.isEmpty()) {
        return std::nullopt;
    }
    icu::UnicodeString reference;
    names->getReferenceZoneID(metaZone, "001", reference);
    if (reference.isEmpty()) {
        return std::nullopt;
    }
    return reference;
}

} // namespace

std::optional<QString> EquivalentZone::icuZoneFor(icaltimezone* defined, Date from) {
    const std::unique_ptr<icu::VTimeZone> zone = defined ? asIcuZone(defined) : nullptr;
    if (!zone) {
        return std::nullopt;
    }
    const double start = from.udate();
    const std::unique_ptr<icu::TimeZone> processZone(icu::TimeZone::createDefault());
    icu::UnicodeString processId;
    if (processZone && sameRules(*zone, processZone->getID(processId), start)) {
        return StringUtilities::fromUnicodeString(processId);
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t savings = 0;
    zone->getOffset(start, false, raw, savings, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    const std::unique_ptr<icu::StringEnumeration> candidates(
        icu::TimeZone::createTimeZoneIDEnumeration(UCAL_ZONE_TYPE_CANONICAL_LOCATION, nullptr, &raw, status));
    if (U_FAILURE(status) || !candidates) {
        return std::nullopt;
    }
    while (const icu::UnicodeString* id = candidates->snext(status)) {
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        if (!sameRules(*zone, *id, start)) {
            continue;
        }
        if (const std::optional<icu::UnicodeString> region = regionZone(*id, start);
            region && sameRules(*zone, *region, start)) {
            return StringUtilities::fromUnicodeString(*region);
        }
        return StringUtilities::fromUnicodeString(*id);
    }
    return std::nullopt;
}
