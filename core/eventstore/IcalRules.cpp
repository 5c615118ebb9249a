#include "core/eventstore/IcalRules.h"

#include <array>
#include <cstdlib>
#include <strings.h>

namespace {

// The calendars libical expands with ICU.
constexpr std::array<const char*, 18> calendarNames{"GREGORIAN",
                                                    "JAPANESE",
                                                    "BUDDHIST",
                                                    "ROC",
                                                    "PERSIAN",
                                                    "ISLAMIC-CIVIL",
                                                    "ISLAMIC",
                                                    "HEBREW",
                                                    "CHINESE",
                                                    "INDIAN",
                                                    "COPTIC",
                                                    "ETHIOPIC",
                                                    "ETHIOPIC-AMETE-ALEM",
                                                    "ISO8601",
                                                    "DANGI",
                                                    "ISLAMIC-UMALQURA",
                                                    "ISLAMIC-TBLA",
                                                    "ISLAMIC-RGSA"};

bool isKnownName(const char* name) {
    if (icalrecurrencetype_rscale_is_supported() == 0) {
        return false;
    }
    for (const char* known : calendarNames) {
        if (strcasecmp(known, name) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

IcalRules::Rule IcalRules::fromString(const QByteArray& text) {
    Rule read;
    read.rule = icalrecurrencetype_from_string(text.constData());
    if (read.rule.rscale != nullptr) {
        read.calendarName = std::shared_ptr<char>(read.rule.rscale, [](char* name) { std::free(name); });
        if (!isKnownName(read.rule.rscale)) {
            read.rule.freq = ICAL_NO_RECURRENCE;
        }
    }
    return read;
}

bool IcalRules::knowsCalendar(const QByteArray& name) {
    return isKnownName(name.constData());
}

bool IcalRules::namesCalendar(const icalrecurrencetype& rule) {
    return rule.rscale != nullptr;
}
