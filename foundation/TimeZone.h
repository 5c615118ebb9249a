#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// A time zone known by its platform (ICU/Olson) name. The process default time zone is the one
// every calendar computation uses; see the application calendar.
class TimeZone {
public:
    // The zone of that name, or nothing when the platform does not know the name.
    static std::optional<TimeZone> withName(const QString& name);

    // The process default time zone.
    static TimeZone defaultTimeZone();
    // Makes `zone` the process default.
    static void setDefaultTimeZone(const TimeZone& zone);
    // Counts the changes of the process default zone, so that objects made in the old zone on
    // any thread can tell that they are out of date.
    static std::uint64_t defaultTimeZoneGeneration();
    // The zone the device itself is set to, whatever the process default is.
    static TimeZone systemTimeZone();
    // Every zone name known to the platform.
    static QStringList knownTimeZoneNames();

    const QString& name() const { return m_name; }
    // The name under which knownTimeZoneNames() lists this zone ("Asia/Kolkata" is listed as
    // "Asia/Calcutta").
    QString canonicalName() const;

    bool operator==(const TimeZone&) const = default;

private:
    explicit TimeZone(QString name) : m_name(std::move(name)) {}

    QString m_name;
};
