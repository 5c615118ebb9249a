#pragma once

#include "foundation/Date.h"

#include <optional>

// The end of a repetition: a last date (inclusive) or a number of occurrences.
class EKRecurrenceEnd {
public:
    static EKRecurrenceEnd recurrenceEndWithEndDate(Date endDate) { return EKRecurrenceEnd(endDate, 0); }
    static EKRecurrenceEnd recurrenceEndWithOccurrenceCount(int occurrenceCount) {
        return EKRecurrenceEnd(std::nullopt, occurrenceCount);
    }

    std::optional<Date> endDate() const { return m_endDate; }
    // 0 when the end is a date.
    int occurrenceCount() const { return m_occurrenceCount; }

    bool operator==(const EKRecurrenceEnd&) const = default;

private:
    EKRecurrenceEnd(std::optional<Date> endDate, int occurrenceCount)
        : m_endDate(endDate), m_occurrenceCount(occurrenceCount) {}

    std::optional<Date> m_endDate;
    int m_occurrenceCount;
};
