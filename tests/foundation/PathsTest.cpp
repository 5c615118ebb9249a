#include "foundation/Paths.h"
#include "testing/LogCapture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Every test starts without overrides and with the platform folders inside a temporary
// folder, so that nothing is made in the real home folder.
class PathsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_savedVariables = {saved("ORVELLA_DATA_DIR"), saved("XDG_DATA_HOME"), saved("XDG_CONFIG_HOME")};
        qunsetenv("ORVELLA_DATA_DIR");
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

    QTemporaryDir m_folder;
    std::vector<std::pair<const char*, QByteArray>> m_savedVariables;
};

TEST_F(PathsTest, PlatformFoldersByDefault) {
    EXPECT_FALSE(Paths::isDataDirectoryOverridden());
    EXPECT_EQ(Paths::dataDirectory(), path("xdg-data/Orvella/Orvella"));
    EXPECT_EQ(Paths::configurationDirectory(), path("xdg-config/Orvella/Orvella"));
    EXPECT_TRUE(QFileInfo(Paths::dataDirectory()).isDir());
    EXPECT_TRUE(QFileInfo(Paths::configurationDirectory()).isDir());
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
