#pragma once

#include "foundation/Date.h"

#include <QString>

#include <libical/ical.h>

#include <optional>

// Files of mail and groupware programs often give a standard zone a name of their own ("My Office
// Time", with the European rules) and define it in a VTIMEZONE. The store keeps events in ICU's
// zones, so such a zone is stored as the ICU zone whose changes are the same from the event on:
// its wall-clock times, repetitions and daylight-saving changes then stay those of the file.
namespace EquivalentZone {

// The ICU zone with the same offsets and changes as the defined zone from `from` for the next
// hundred years: the process default zone when it is one, else the zone standing for the region
// (Europe/Paris for central European time), else the first in ICU's list. Nothing when no ICU zone
// has those rules.
std::optional<QString> icuZoneFor(icaltimezone* defined, Date from);

} // namespace EquivalentZone
