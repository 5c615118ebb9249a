#include "foundation/Paths.h"

#include "foundation/Log.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>

#include <mutex>

namespace {

const QString dataDirectoryOption = QStringLiteral("--data-dir");
constexpr const char* dataDirectoryVariable = "ORVELLA_DATA_DIR";

struct PathsState {
    std::mutex mutex;
    QString overriddenDataDirectory;
    QSet<QString> createdDirectories;
};

PathsState& pathsState() {
    static auto* const state = new PathsState;
    return *state;
}

// The platform's folder for this application, named like QStandardPaths' AppDataLocation and
// AppConfigLocation for organisation "Orvella" and application "Orvella", but independent of
// the names the running program happens to have set (test programs set none).
QString applicationLocation(QStandardPaths::StandardLocation genericLocation) {
    return QDir(QStandardPaths::writableLocation(genericLocation))
        .filePath(QStringLiteral("Orvella/Orvella"));
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

// Needs the state's lock.
QString dataDirectoryLocked() {
    if (!pathsState().overriddenDataDirectory.isEmpty()) {
        return pathsState().overriddenDataDirectory;
    }
    const QString fromEnvironment = qEnvironmentVariable(dataDirectoryVariable);
    if (!fromEnvironment.isEmpty()) {
        return absolute(fromEnvironment);
    }
    return applicationLocation(QStandardPaths::GenericDataLocation);
}

bool isOverriddenLocked() {
    return !pathsState().overriddenDataDirectory.isEmpty() ||
           !qEnvironmentVariable(dataDirectoryVariable).isEmpty();
}

// Needs the state's lock.
QString createdLocked(const QString& path) {
    if (!pathsState().createdDirectories.contains(path)) {
        if (QDir().mkpath(path)) {
            pathsState().createdDirectories.insert(path);
        } else {
            Log::warning(QStringLiteral("paths"), QStringLiteral("Could not create the folder %1").arg(path));
        }
    }
    return path;
}

} // namespace

QString Paths::dataDirectory() {
    std::lock_guard lock(pathsState().mutex);
    return createdLocked(dataDirectoryLocked());
}

QString Paths::configurationDirectory() {
    std::lock_guard lock(pathsState().mutex);
    if (isOverriddenLocked()) {
        return createdLocked(dataDirectoryLocked());
    }
    return createdLocked(applicationLocation(QStandardPaths::GenericConfigLocation));
}

void Paths::setDataDirectory(const QString& path) {
    std::lock_guard lock(pathsState().mutex);
    pathsState().overriddenDataDirectory = path.isEmpty() ? QString() : absolute(path);
}

bool Paths::isDataDirectoryOverridden() {
    std::lock_guard lock(pathsState().mutex);
    return isOverriddenLocked();
}

Paths::CommandLine Paths::applyCommandLine(const QStringList& arguments) {
    const QString withValue = dataDirectoryOption + QLatin1Char('=');
    CommandLine result;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        QString folder;
        if (argument == dataDirectoryOption) {
            if (index + 1 < arguments.size() && !arguments.at(index + 1).startsWith(QLatin1String("--"))) {
                folder = arguments.at(++index);
            }
        } else if (argument.startsWith(withValue)) {
            folder = argument.mid(withValue.size());
        } else {
            result.arguments.append(argument);
            continue;
        }
        if (folder.isEmpty()) {
            result.error =
                QStringLiteral("The option %1 needs a folder, as in %1 <dir>.").arg(dataDirectoryOption);
        } else {
            setDataDirectory(folder);
        }
    }
    return result;
}

QString Paths::dataFilePath(const QString& name) {
    return QDir(dataDirectory()).filePath(name);
}
