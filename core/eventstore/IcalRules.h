#pragma once

#include <QByteArray>

#include <libical/ical.h>

#include <memory>

// Repetition rules as libical reads them. libical 3 allocates the name of a rule's calendar
// (RSCALE, RFC 7529) for every rule it reads, never frees it, and lower-cases it in place when it
// expands the rule; rules read here own that name.
namespace IcalRules {

struct Rule {
    icalrecurrencetype rule{};
    // Holds rule.rscale; copies of the rule share it.
    std::shared_ptr<char> calendarName;
};

// The rule of the text; one in a calendar libical cannot expand has no frequency
// (ICAL_NO_RECURRENCE), as a text libical cannot read.
Rule fromString(const QByteArray& text);
// Whether rules in the calendar (an RSCALE value, case aside) can be expanded.
bool knowsCalendar(const QByteArray& name);
// Whether the rule names its calendar: it counts in another calendar than the Gregorian one, or says
// what to do with days a month lacks (SKIP); libical alone expands such rules.
bool namesCalendar(const icalrecurrencetype& rule);

} // namespace IcalRules
