#include "core/settings/RemindersWhenClosedSetting.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

const QString RemindersWhenClosedSetting::autostartFileName =
    QStringLiteral("org.orvella.Orvella.Background.desktop");

QString RemindersWhenClosedSetting::settingTitle() const {
    return localizedString("Reminders When Closed");
}

QString RemindersWhenClosedSetting::overridePath() {
    const QString configuration =
        Paths::isDataDirectoryOverridden()
            ? Paths::configurationDirectory()
            : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return configuration + QStringLiteral("/autostart/") + autostartFileName;
}

bool RemindersWhenClosedSetting::switchedOn() const {
    QFile file(overridePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return true;
    }
    while (!file.atEnd()) {
        if (file.readLine().trimmed() == "Hidden=true") {
            return false;
        }
    }
    return true;
}

void RemindersWhenClosedSetting::switchFlipped() {
    const QString path = overridePath();
    if (!switchedOn()) {
        if (!QFile::remove(path)) {
            Log::warning("settings", QStringLiteral("Could not remove %1").arg(path));
        }
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write("[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=Orvella Reminders\n"
                   "Exec=orvella --background\n"
                   "Hidden=true\n");
    }
    if (!file.commit()) {
        Log::warning("settings", QStringLiteral("Could not write %1: %2").arg(path, file.errorString()));
    }
}
