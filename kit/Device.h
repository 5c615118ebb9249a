#pragma once

#include <QString>

// Facts about the device the program runs on. On this platform the hardware model identifier
// is the machine's architecture name and the system version that of the operating system; both
// can be replaced, for tests.
class Device {
public:
    static Device& current();

    QString platformString() const { return m_platformString; }
    QString systemVersion() const { return m_systemVersion; }
    void setPlatformString(const QString& identifier) { m_platformString = identifier; }
    void setSystemVersion(const QString& version) { m_systemVersion = version; }

    // The model identifier as a small number: the known older models by exact name, anything
    // else 10.
    int platform() const;
    // True for the first two generations of the small player and of the phone, which get the
    // simpler animations.
    bool isOlderGeneration() const;
    // Compares the system version with `version` number by number ("10.0" is later than
    // "5.0"; missing numbers count as 0); true unless the system version is lower.
    bool isAtLeastVersion(const QString& version) const;

private:
    Device();

    QString m_platformString;
    QString m_systemVersion;
};
