#include "foundation/Paths.h"

#include "foundation/Log.h"

#include <QDir>
#include <QSet>
#include <QStandardPaths>

#include <mutex>

namespace {

const QString dataDirectoryOptionName = QStringLiteral("data-dir");
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

// Whether the platform's folder for the XDG variable `name` is known without the home folder.
bool namedWithoutHome(const char* name) {
    return QDir::isAbsolutePath(qEnvironmentVariable(name));
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

QString Paths::locationProblem() {
    if (isDataDirectoryOverridden() || !qEnvironmentVariableIsEmpty("HOME") ||
        (namedWithoutHome("XDG_DATA_HOME") && namedWithoutHome("XDG_CONFIG_HOME"))) {
        return QString();
    }
    return QStringLiteral("cannot find a data folder: HOME is not set; give one with --%1")
        .arg(dataDirectoryOptionName);
}

QCommandLineOption Paths::dataDirectoryOption() {
    return QCommandLineOption(dataDirectoryOptionName, QString(), QStringLiteral("DIR"));
}

QString Paths::applyCommandLine(const QCommandLineParser& parser, const QStringList& arguments) {
    const QString option = QLatin1String("--") + dataDirectoryOptionName;
    const QString folder =
        parser.isSet(dataDirectoryOptionName) ? parser.value(dataDirectoryOptionName) : QString();
    // The parser takes whatever follows the option as its folder, even another option.
    const bool missing = parser.isSet(dataDirectoryOptionName)
                             ? folder.isEmpty() || folder.startsWith(QLatin1String("--"))
                             : !arguments.isEmpty() && arguments.last() == option;
    if (missing) {
        return QStringLiteral("The option %1 needs a folder, as in %1 <dir>.").arg(option);
    }
    if (!folder.isEmpty()) {
        setDataDirectory(folder);
    }
    return QString();
}

QString Paths::dataFilePath(const QString& name) {
    return QDir(dataDirectory()).filePath(name);
}
