#pragma once

#include <QString>

#include <optional>

class EKCalendar;

// How calendars are named in the settings and grouped by account. A calendar is stored under
// the first of its identifier forms that exists, and looked up under each form in turn, so that
// a setting written while the platform lacked `calendarIdentifier` is still found later.
namespace Account {

// The stable identifier: the first of the three forms below that exists.
QString identifier(const EKCalendar& calendar);
// The platform's `calendarIdentifier`; nothing where the calendar has none.
std::optional<QString> identifierUsingiOS5Identifier(const EKCalendar& calendar);
// "source title:calendar title"; nothing where the calendar has no source.
std::optional<QString> identifierUsingSourceTitle(const EKCalendar& calendar);
// "account:calendar title", the account read from the description ("(null)" when missing).
QString identifierUsingAccountFromDescription(const EKCalendar& calendar);
// The "account" entry of the calendar's description text; nothing when absent or "(null)".
std::optional<QString> accountFromDescription(const EKCalendar& calendar);
// Two characters that order account kinds: local, Exchange, CalDAV, MobileMe, other,
// subscribed, birthdays.
QString uniqueSortableCategoryId(const EKCalendar& calendar);
// "kind|source title|source identifier": the key of the calendar's group.
QString uniqueSortableSourceId(const EKCalendar& calendar);

} // namespace Account
