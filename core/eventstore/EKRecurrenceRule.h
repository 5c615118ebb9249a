#pragma once

#include "core/eventstore/EKRecurrenceEnd.h"

#include <QString>

#include <optional>

// SECONDLY, MINUTELY and HOURLY rules are kept whole in rrule(); frequency() reports them as Daily.
enum class EKRecurrenceFrequency { Daily = 0, Weekly = 1, Monthly = 2, Yearly = 3 };

// A repetition rule: a value over an iCalendar RRULE (RFC 5545 3.3.10).
class EKRecurrenceRule {
public:
    // A simple rule as the editor makes them; an interval below 1 counts as 1.
    EKRecurrenceRule(EKRecurrenceFrequency frequency, int interval, std::optional<EKRecurrenceEnd> end);

    // Any RRULE text without the "RRULE:" name ("FREQ=WEEKLY;BYDAY=MO,WE;COUNT=10"), validated by
    // libical. A date-only UNTIL means the end of that day in the process default zone; a UNTIL
    // without "Z" is read in the process default zone too.
    static std::optional<EKRecurrenceRule> fromRRule(const QString& rrule, QString* error);

    // The full RRULE text in libical's canonical form.
    QString rrule() const { return m_rrule; }
    EKRecurrenceFrequency frequency() const { return m_frequency; }
    int interval() const { return m_interval; }
    std::optional<EKRecurrenceEnd> recurrenceEnd() const { return m_recurrenceEnd; }

    bool operator==(const EKRecurrenceRule& other) const { return m_rrule == other.m_rrule; }

private:
    EKRecurrenceRule() = default;

    QString m_rrule;
    EKRecurrenceFrequency m_frequency = EKRecurrenceFrequency::Daily;
    int m_interval = 1;
    std::optional<EKRecurrenceEnd> m_recurrenceEnd;
};
