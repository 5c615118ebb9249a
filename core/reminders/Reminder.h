#pragma once

#include "foundation/Date.h"

#include <QString>

#include <cstddef>
#include <vector>

// One alert of one occurrence of an event, with what its notification shows.
struct Reminder {
    QString eventIdentifier;
    // The occurrence's start: with the identifier it names the occurrence, so that an occurrence
    // moved to another time is reminded of anew.
    Date startDate;
    // Seconds from the start (negative = before it).
    double alarmOffset = 0.0;
    // When it is shown: start plus offset, or the end of a snooze.
    Date dueDate;
    QString title;
    QString location;
    bool allDay = false;

    // Names the alert of the occurrence in the record of shown reminders.
    QString key() const {
        return QStringLiteral("%1 %2 %3")
            .arg(startDate.timeIntervalSince1970(), 0, 'f', 0)
            .arg(alarmOffset, 0, 'f', 0)
            .arg(eventIdentifier);
    }

    // What the notification says under the title: the start's time (with the date when it is
    // not on the day of `now`, and "All day" for all-day events), then the location.
    QString body(Date now) const;
    // Summary of the missed reminders: "3 missed reminders", the titles in the body.
    static QString missedSummary(std::size_t count);
    static QString missedBody(const std::vector<Reminder>& reminders);

    bool operator==(const Reminder&) const = default;
};
