#pragma once

// An alert at an offset in seconds from the start of its event (negative = before the start).
class EKAlarm {
public:
    static EKAlarm alarmWithRelativeOffset(double seconds) { return EKAlarm(seconds); }

    double relativeOffset() const { return m_relativeOffset; }

    bool operator==(const EKAlarm&) const = default;

private:
    explicit EKAlarm(double relativeOffset) : m_relativeOffset(relativeOffset) {}

    double m_relativeOffset;
};
