#pragma once

#include <QString>

#include <optional>

// Facts about the running application as the build made it: its display name, its short version
// ("0.1") and its build version (empty when the build did not give one). The running program's
// bundle is `main()`; tests put in their own with setMain. Safe from any thread.
class Bundle {
public:
    Bundle(QString displayName, QString shortVersionString, QString buildVersion)
        : m_displayName(std::move(displayName)), m_shortVersionString(std::move(shortVersionString)),
          m_buildVersion(std::move(buildVersion)) {}

    const QString& displayName() const { return m_displayName; }
    const QString& shortVersionString() const { return m_shortVersionString; }
    const QString& buildVersion() const { return m_buildVersion; }

    static Bundle main();
    // Replaces the running program's facts; none goes back to the build's.
    static void setMain(std::optional<Bundle> bundle);

private:
    QString m_displayName;
    QString m_shortVersionString;
    QString m_buildVersion;
};
