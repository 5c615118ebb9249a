#pragma once

#include "foundation/Date.h"

#include <QString>

#include <optional>

// The dates of the full event editor: as typed ("2026-12-09 14:00", or "2026-12-09" for a day, in
// the process default time zone) and as shown.
namespace EventDateText {

QString format(Date date, bool dayOnly);
// Nothing unless the whole text is such a date (surrounding white space aside); a day gives
// its beginning.
std::optional<Date> parse(const QString& text, bool dayOnly);

// As a person reads it: the locale's medium date, and its short time unless only the day counts.
QString display(Date date, bool dayOnly);

} // namespace EventDateText
