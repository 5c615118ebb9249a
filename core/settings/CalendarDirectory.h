#pragma once

#include <QString>

#include <memory>
#include <vector>

class EKCalendar;

// The calendars that settings name by identifier. Settings store plain identifiers and resolve
// them through this; the event service provides it, so settings never depend on the service.
// Safe from any thread where the provider is.
class CalendarDirectory {
public:
    virtual ~CalendarDirectory() = default;

    // Null when no calendar answers to the identifier.
    virtual std::shared_ptr<EKCalendar> findCalendarByIdentifier(const QString& identifier) const = 0;
    // Null when there is no calendar at all.
    virtual std::shared_ptr<EKCalendar> systemDefaultCalendar() const = 0;
    // The calendars that take new events, hidden ones included.
    virtual std::vector<std::shared_ptr<EKCalendar>> editableAndInvisibleCalendars() const = 0;
};
