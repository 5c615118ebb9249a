#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A time zone known by its platform (ICU/Olson) name. The process default time zone is the one
// every calendar computation uses; see the application calendar.
class TimeZone {
public:
    // The zone of that name, or nothing when the platform does not know the name.
    static std::optional<TimeZone> withName(const QString& name);

    // The process default time zone.
    static TimeZone defaultTimeZone();
    // Makes `zone` the process default. Calendars already made keep their zone until reloaded.
    static void setDefaultTimeZone(const TimeZone& zone);
    // The zone the device itself is set to, whatever the process default is.
    static TimeZone systemTimeZone();
    // Every zone name known to the platform.
    static QStringList knownTimeZoneNames();

    const QString& name() const { return m_name; }

    bool operator==(const TimeZone&) const = default;

private:
    explicit TimeZone(QString name) : m_name(std::move(name)) {}

    QString m_name;
};
