#pragma once

#include <QString>

// An alert at an offset in seconds from the start of its event (negative = before the start).
class EKAlarm {
public:
    static EKAlarm alarmWithRelativeOffset(double seconds) { return EKAlarm(seconds); }

    double relativeOffset() const { return m_relativeOffset; }

    // The alarm's iCalendar content lines other than its trigger, as another program wrote them
    // (its ACTION, DESCRIPTION, ATTENDEE, ...), unfolded, one a line; written back unchanged.
    // Empty for an alarm made here, which is written as a display alarm.
    const QString& otherProperties() const { return m_otherProperties; }
    void setOtherProperties(QString properties) { m_otherProperties = std::move(properties); }

    bool operator==(const EKAlarm&) const = default;

private:
    explicit EKAlarm(double relativeOffset) : m_relativeOffset(relativeOffset) {}

    double m_relativeOffset;
    QString m_otherProperties;
};
