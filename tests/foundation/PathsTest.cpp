#include "foundation/Paths.h"
#include "testing/LogCapture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// Every test starts without overrides, with the home folder and the platform folders inside a
// temporary folder, so that nothing is made in the real home folder.
class PathsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_savedVariables = {saved("ORVELLA_DATA_DIR"), saved("XDG_DATA_HOME"), saved("XDG_CONFIG_HOME"),
                            saved("HOME")};
        qunsetenv("ORVELLA_DATA_DIR");
        qputenv("HOME", m_folder.filePath("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_folder.filePath("xdg-data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_folder.filePath("xdg-config").toLocal8Bit());
        Paths::setDataDirectory(QString());
    }

    void TearDown() override {
        Paths::setDataDirectory(QString());
        for (const auto& [name, value] : m_savedVariables) {
            if (value.isNull()) {
                qunsetenv(name);
            } else {
                qputenv(name, value);
            }
        }
    }

    static std::pair<const char*, QByteArray> saved(const char* name) { return {name, qgetenv(name)}; }

    QString path(const QString& name) const { return QDir::cleanPath(m_folder.filePath(name)); }

    // Parses the arguments as a program with the data folder option and a few of its own does.
    static QString applyCommandLine(const QStringList& arguments) {
        QCommandLineParser parser;
        parser.addOptions({Paths::dataDirectoryOption(), QCommandLineOption("tablet"),
                           QCommandLineOption("scale", QString(), "N")});
        parser.parse(arguments);
        return Paths::applyCommandLine(parser, arguments);
    }

    void write(const QString& name, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_folder;
    std::vector<std::pair<const char*, QByteArray>> m_savedVariables;
};

TEST_F(PathsTest, PlatformFoldersByDefault) {
    EXPECT_FALSE(Paths::isDataDirectoryOverridden());
    EXPECT_EQ(Paths::dataDirectory(), path("xdg-data/orvella"));
    EXPECT_EQ(Paths::configurationDirectory(), path("xdg-config/orvella"));
    EXPECT_TRUE(QFileInfo(Paths::dataDirectory()).isDir());
    EXPECT_TRUE(QFileInfo(Paths::configurationDirectory()).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("xdg-data/Orvella")));
}

TEST_F(PathsTest, NewInstallUsesTheHomeFoldersWithoutXdgVariables) {
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    LogCapture capture;
    EXPECT_EQ(Paths::dataDirectory(), path("home/.local/share/orvella"));
    EXPECT_EQ(Paths::configurationDirectory(), path("home/.config/orvella"));
    EXPECT_TRUE(QFileInfo(path("home/.local/share/orvella")).isDir());
    EXPECT_TRUE(QFileInfo(path("home/.config/orvella")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("home/.local/share/Orvella")));
    EXPECT_TRUE(capture.lines().isEmpty());
}

TEST_F(PathsTest, FoldersOfEarlierVersionsMoveOnceWithTheirContent) {
    write("xdg-data/Orvella/Orvella/events.sqlite", "events");
    write("xdg-data/Orvella/Orvella/backups/1.sqlite", "backup");
    write("xdg-config/Orvella/Orvella/settings.ini", "settings");
    LogCapture capture;

    EXPECT_EQ(Paths::dataDirectory(), path("xdg-data/orvella"));
    EXPECT_EQ(Paths::configurationDirectory(), path("xdg-config/orvella"));
    EXPECT_EQ(read("xdg-data/orvella/events.sqlite"), "events");
    EXPECT_EQ(read("xdg-data/orvella/backups/1.sqlite"), "backup");
    EXPECT_EQ(read("xdg-config/orvella/settings.ini"), "settings");
    EXPECT_FALSE(QFileInfo::exists(path("xdg-data/Orvella")));
    EXPECT_FALSE(QFileInfo::exists(path("xdg-config/Orvella")));
    EXPECT_TRUE(capture.contains(Log::Level::Info, "paths", path("xdg-data/Orvella/Orvella")));
    EXPECT_TRUE(capture.contains(Log::Level::Info, "paths", path("xdg-config/Orvella/Orvella")));
    EXPECT_EQ(capture.lines().size(), 2);

    // A later run finds nothing left to move.
    capture.clear();
    EXPECT_EQ(Paths::dataDirectory(), path("xdg-data/orvella"));
    EXPECT_TRUE(capture.lines().isEmpty());
}

TEST_F(PathsTest, EarlierFolderIsLeftAloneWhenTheNewPlaceExists) {
    write("xdg-data/Orvella/Orvella/events.sqlite", "old");
    write("xdg-data/orvella/events.sqlite", "new");
    LogCapture capture;

    EXPECT_EQ(Paths::dataDirectory(), path("xdg-data/orvella"));
    EXPECT_EQ(read("xdg-data/orvella/events.sqlite"), "new");
    EXPECT_EQ(read("xdg-data/Orvella/Orvella/events.sqlite"), "old");
    EXPECT_TRUE(capture.contains(Log::Level::Warning, "paths", path("xdg-data/Orvella/Orvella")));
}

TEST_F(PathsTest, EarlierFolderThatCannotMoveStaysAndServes) {
    write("xdg-data/Orvella/Orvella/events.sqlite", "events");
    // The data folder's parent takes no new entries, for root too: it acts as an ordinary user,
    // who may read the old folder and the folders above it.
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    for (const char* name :
         {"", "xdg-data/Orvella", "xdg-data/Orvella/Orvella", "xdg-data/Orvella/Orvella/events.sqlite"}) {
        QFile::setPermissions(path(name), readable | QFile::WriteOwner);
    }
    QFile::setPermissions(path("xdg-data"), readable);
    const uid_t user = geteuid();
    ASSERT_TRUE(user != 0 || seteuid(65534) == 0);
    if (!QFileInfo(path("xdg-data/Orvella/Orvella")).isDir()) {
        ASSERT_TRUE(user != 0 || seteuid(0) == 0);
        GTEST_SKIP() << "the temporary folder is closed to other users";
    }
    LogCapture capture;
    const QString folder = Paths::dataDirectory();
    if (user == 0) {
        ASSERT_EQ(seteuid(0), 0);
    }
    QFile::setPermissions(path("xdg-data"), readable | QFile::WriteOwner);

    EXPECT_EQ(folder, path("xdg-data/Orvella/Orvella"));
    EXPECT_EQ(read("xdg-data/Orvella/Orvella/events.sqlite"), "events");
    EXPECT_EQ(QDir(path("xdg-data")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"Orvella"});
    EXPECT_TRUE(capture.contains(Log::Level::Warning, "paths", "Could not move the folder " + folder));
}

TEST_F(PathsTest, OverriddenDataFolderHoldsTheConfigurationToo) {
    Paths::setDataDirectory(path("run/data"));
    EXPECT_TRUE(Paths::isDataDirectoryOverridden());
    EXPECT_EQ(Paths::dataDirectory(), path("run/data"));
    EXPECT_EQ(Paths::configurationDirectory(), path("run/data"));
    EXPECT_TRUE(QFileInfo(path("run/data")).isDir());
    EXPECT_EQ(Paths::dataFilePath("events.sqlite"), path("run/data/events.sqlite"));
    EXPECT_FALSE(QFileInfo::exists(path("xdg-config")));
}

TEST_F(PathsTest, EnvironmentVariableOverridesThePlatformFolder) {
    qputenv("ORVELLA_DATA_DIR", path("from-environment").toLocal8Bit());
    EXPECT_TRUE(Paths::isDataDirectoryOverridden());
    EXPECT_EQ(Paths::dataDirectory(), path("from-environment"));
    EXPECT_EQ(Paths::configurationDirectory(), path("from-environment"));

    Paths::setDataDirectory(path("explicit"));
    EXPECT_EQ(Paths::dataDirectory(), path("explicit"));
}

TEST_F(PathsTest, CommandLineOptionIsTakenOutAndApplied) {
    const QStringList separate{"orvella", "--tablet", "--data-dir", path("cli"), "--scale", "1"};
    EXPECT_EQ(applyCommandLine(separate), "");
    EXPECT_EQ(Paths::dataDirectory(), path("cli"));

    EXPECT_EQ(applyCommandLine({"orvella", "--data-dir=" + path("cli2")}), "");
    EXPECT_EQ(Paths::dataDirectory(), path("cli2"));
}

TEST_F(PathsTest, CommandLineRelativeFolderBecomesAbsolute) {
    EXPECT_EQ(applyCommandLine({"orvella", "--data-dir", "relative/folder"}), "");
    EXPECT_TRUE(QDir::isAbsolutePath(Paths::dataDirectory()));
    EXPECT_EQ(Paths::dataDirectory(), QDir::cleanPath(QDir::current().absoluteFilePath("relative/folder")));
    Paths::setDataDirectory(QString());
    QDir::current().rmpath("relative/folder");
}

TEST_F(PathsTest, CommandLineOptionWithoutAFolderIsAnError) {
    EXPECT_NE(applyCommandLine({"orvella", "--data-dir"}), "");
    EXPECT_TRUE(applyCommandLine({"orvella", "--data-dir", "--tablet"}).contains("--data-dir"));
    EXPECT_NE(applyCommandLine({"orvella", "--data-dir="}), "");
    EXPECT_FALSE(Paths::isDataDirectoryOverridden());
}

TEST_F(PathsTest, FolderThatCannotBeMadeIsLoggedNotFatal) {
    QFile blocker(path("a-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LogCapture capture;
    Paths::setDataDirectory(path("a-file/data"));
    EXPECT_EQ(Paths::dataDirectory(), path("a-file/data"));
    EXPECT_TRUE(capture.contains(Log::Level::Warning, "paths", path("a-file/data")));
}

} // namespace
