#pragma once

#include "foundation/Date.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

class QSettings;
class QVariant;

// The user's key-value settings, kept in an INI file ("settings.ini" in the configuration
// folder for the standard one). Getters give nothing for an absent key and for a value that
// does not read as the asked type ("abc" as an integer). Changes are written out on the next
// turn of the Qt event loop, by synchronize(), and on destruction. A damaged or unwritable
// file is logged and otherwise behaves as an empty store. Safe from any thread.
class UserDefaults {
public:
    explicit UserDefaults(const QString& filePath);
    ~UserDefaults();

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The process's store, created on first use and written out when the application object
    // is destroyed. References must not be kept across setStandardUserDefaults().
    static UserDefaults& standardUserDefaults();
    // Replaces the process's store (for tests) and returns the one it replaces; null makes the
    // next use create it anew in the configuration folder.
    static std::shared_ptr<UserDefaults> setStandardUserDefaults(std::shared_ptr<UserDefaults> userDefaults);

    const QString& filePath() const { return m_filePath; }

    // Any value that is not a list of several strings reads as a string.
    std::optional<QString> stringForKey(const QString& key) const;
    void setString(const QString& key, const QString& value);

    std::optional<qint64> integerForKey(const QString& key) const;
    void setInteger(const QString& key, qint64 value);
    // Adds one to the integer (an absent or unreadable value counts as 0) in one step, so that
    // counts from several threads all arrive. Returns the new value.
    qint64 incrementInteger(const QString& key);

    std::optional<double> doubleForKey(const QString& key) const;
    void setDouble(const QString& key, double value);

    // Reads "true", "false", "1" and "0".
    std::optional<bool> boolForKey(const QString& key) const;
    void setBool(const QString& key, bool value);

    std::optional<Date> dateForKey(const QString& key) const;
    void setDate(const QString& key, Date value);

    // The INI format cannot tell a list of one string from a string, so a string reads as a
    // list of one.
    std::optional<QStringList> stringListForKey(const QString& key) const;
    void setStringList(const QString& key, const QStringList& value);

    bool objectExists(const QString& key) const;
    void removeObjectForKey(const QString& key);

    // Writes pending changes to the file now; false (and a logged warning) when that failed.
    bool synchronize();

private:
    // The value as it reads back from the file: a string, a list of several strings, or an
    // invalid variant for the empty list.
    std::optional<QVariant> storedValue(const QString& key) const;
    std::optional<QString> scalarValue(const QString& key) const;
    void openSettings();

    QString m_filePath;
    mutable std::mutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
};
