#include "foundation/Paths.h"

#include "foundation/Log.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

const QString dataDirectoryOptionName = QStringLiteral("data-dir");
constexpr const char* dataDirectoryVariable = "ORVELLA_DATA_DIR";

struct PathsState {
    std::mutex mutex;
    QString overriddenDataDirectory;
    // Each folder asked for, and the one it stands for in this run once it exists.
    QHash<QString, QString> settledDirectories;
};

PathsState& pathsState() {
    static auto* const state = new PathsState;
    return *state;
}

// The platform's folder for this application, independent of the names the running program
// happens to have set (test programs set none).
QString applicationLocation(QStandardPaths::StandardLocation genericLocation) {
    return QDir(QStandardPaths::writableLocation(genericLocation)).filePath(QStringLiteral("orvella"));
}

// Where earlier versions kept the same folder: one level deeper, as Qt names the folders of
// organisation "Orvella" and application "Orvella".
QString legacyApplicationLocation(QStandardPaths::StandardLocation genericLocation) {
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

// Renames `from` to `to` unless `to` exists, in one step. Gives errno's value, 0 on success.
int renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // The file system cannot promise not to replace; the caller has seen that `to` is free.
    return std::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

QString describeFailure(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes `to` a symbolic link with the same target as the link `from`, relative ones included.
bool copySymbolicLink(const QString& from, const QString& to) {
    std::array<char, PATH_MAX> target{};
    const ssize_t length = readlink(QFile::encodeName(from).constData(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
        return false;
    }
    return symlink(target.data(), QFile::encodeName(to).constData()) == 0;
}

// Copies the content of the folder `from` into the existing folder `to`: folders, files with
// their permissions, and symbolic links as links. Says what could not be copied, or nothing.
QString copyFolderContent(const QString& from, const QString& to) {
    QDirIterator entries(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(entry.filePath()));
        bool copied = false;
        if (entry.isSymLink()) {
            copied = copySymbolicLink(entry.filePath(), target);
        } else if (entry.isDir()) {
            copied = QDir().mkdir(target) && QFile::setPermissions(target, entry.permissions());
        } else {
            copied = QFile::copy(entry.filePath(), target);
        }
        if (!copied) {
            return QStringLiteral("could not copy %1").arg(entry.filePath());
        }
    }
    return QString();
}

// Moves the folder `from` to `to`, which does not exist yet, so that `to` appears whole or not
// at all: by renaming within one file system, and across file systems by copying into a
// temporary sibling of `to` that is then renamed, before `from` is removed. Says what went wrong,
// leaving `from` as it was, or nothing.
QString moveFolder(const QString& from, const QString& to) {
    const QString parent = QFileInfo(to).absolutePath();
    if (!QDir().mkpath(parent)) {
        return QStringLiteral("could not create the folder %1").arg(parent);
    }
    const int error = renameWithoutReplacing(from, to);
    if (error == 0) {
        return QString();
    }
    if (error != EXDEV) {
        return describeFailure(error);
    }
    QTemporaryDir copy(QDir(parent).filePath(QStringLiteral(".orvella-moving-XXXXXX")));
    if (!copy.isValid()) {
        return QStringLiteral("could not create a folder in %1: %2").arg(parent, copy.errorString());
    }
    if (const QString problem = copyFolderContent(from, copy.path()); !problem.isEmpty()) {
        return problem;
    }
    QFile::setPermissions(copy.path(), QFileInfo(from).permissions());
    if (const int renameError = renameWithoutReplacing(copy.path(), to); renameError != 0) {
        return describeFailure(renameError);
    }
    copy.setAutoRemove(false);
    if (!QDir(from).removeRecursively()) {
        Log::warning(QStringLiteral("paths"),
                     QStringLiteral("Copied %1 to %2 but could not remove the old folder").arg(from, to));
    }
    return QString();
}

// Needs the state's lock. The folder to use for `path`, made when missing. A folder found at
// `legacyPath` is moved to `path` first; when `path` exists already, or the move fails, the old
// folder is left as it is, and after a failed move it serves this run.
QString settledLocked(const QString& path, const QString& legacyPath = QString()) {
    QHash<QString, QString>& settled = pathsState().settledDirectories;
    if (const auto found = settled.constFind(path); found != settled.cend()) {
        return *found;
    }
    QString result = path;
    if (!legacyPath.isEmpty() && QFileInfo(legacyPath).isDir()) {
        if (QFileInfo::exists(path)) {
            Log::warning(QStringLiteral("paths"),
                         QStringLiteral("Both %1 and the older %2 exist; using %1 and leaving %2 as it is")
                             .arg(path, legacyPath));
        } else if (const QString problem = moveFolder(legacyPath, path); problem.isEmpty()) {
            Log::info(QStringLiteral("paths"),
                      QStringLiteral("Moved the folder %1 to %2").arg(legacyPath, path));
            // The organisation's folder that held it, unless something else lives there.
            QDir().rmdir(QFileInfo(legacyPath).absolutePath());
        } else {
            Log::warning(
                QStringLiteral("paths"),
                QStringLiteral("Could not move the folder %1 to %2 (%3); it stays where it is and is "
                               "used from there")
                    .arg(legacyPath, path, problem));
            result = legacyPath;
        }
    }
    if (QDir().mkpath(result)) {
        settled.insert(path, result);
    } else {
        Log::warning(QStringLiteral("paths"), QStringLiteral("Could not create the folder %1").arg(result));
    }
    return result;
}

} // namespace

QString Paths::dataDirectory() {
    std::lock_guard lock(pathsState().mutex);
    if (isOverriddenLocked()) {
        return settledLocked(dataDirectoryLocked());
    }
    return settledLocked(dataDirectoryLocked(),
                         legacyApplicationLocation(QStandardPaths::GenericDataLocation));
}

QString Paths::configurationDirectory() {
    std::lock_guard lock(pathsState().mutex);
    if (isOverriddenLocked()) {
        return settledLocked(dataDirectoryLocked());
    }
    return settledLocked(applicationLocation(QStandardPaths::GenericConfigLocation),
                         legacyApplicationLocation(QStandardPaths::GenericConfigLocation));
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
