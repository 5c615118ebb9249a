#pragma once

#include <compare>

// An absolute point in time: seconds since 1970-01-01 00:00:00 UTC, in double precision.
// Calendar fields of a date are only ever taken through the application calendar.
class Date {
public:
    constexpr Date() = default;

    static constexpr Date withTimeIntervalSince1970(double seconds) { return Date(seconds); }
    // ICU counts milliseconds since the same epoch.
    static constexpr Date withUDate(double milliseconds) { return Date(milliseconds / 1000.0); }

    // The present moment as the main run loop's clock tells it.
    static Date now();

    constexpr double timeIntervalSince1970() const { return m_seconds; }
    constexpr double udate() const { return m_seconds * 1000.0; }
    constexpr double timeIntervalSinceDate(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date addingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }

    constexpr auto operator<=>(const Date&) const = default;

private:
    constexpr explicit Date(double seconds) : m_seconds(seconds) {}

    double m_seconds = 0.0;
};
