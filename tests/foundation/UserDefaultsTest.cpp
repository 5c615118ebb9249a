#include "foundation/UserDefaults.h"
#include "testing/LogCapture.h"
#include "foundation/Paths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <limits>
#include <thread>
#include <vector>

namespace {

class UserDefaultsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString path(const QString& name) const { return m_folder.filePath(name); }

    void writeFile(const QString& name, const QByteArray& contents) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // A store on a copy of the file, so that the values come from parsing the file and not
    // from what QSettings still holds in memory for the original path.
    std::unique_ptr<UserDefaults> reopenedCopy(const QString& name) const {
        const QString copy = path(name + QStringLiteral(".copy%1").arg(m_copies++));
        EXPECT_TRUE(QFile::copy(path(name), copy));
        return std::make_unique<UserDefaults>(copy);
    }

    QTemporaryDir m_folder;
    mutable int m_copies = 0;
};

void writeEveryType(UserDefaults& defaults) {
    defaults.setString("string", "Grüße, \"quoted\" = ; # [x] @at\nsecond line");
    defaults.setString("emptyString", "");
    defaults.setString("atString", "@Invalid()");
    defaults.setInteger("integer", -42);
    defaults.setInteger("maxInteger", std::numeric_limits<qint64>::max());
    defaults.setInteger("minInteger", std::numeric_limits<qint64>::min());
    defaults.setDouble("double", 0.1);
    defaults.setDouble("tinyDouble", -1.2345678901234567e-300);
    defaults.setBool("yes", true);
    defaults.setBool("no", false);
    defaults.setDate("date", Date::withTimeIntervalSince1970(1700000000.125));
    defaults.setStringList("list", {"Saturday", "Sunday, too", ""});
    defaults.setStringList("oneItem", {"only"});
    defaults.setStringList("emptyList", {});
}

void expectEveryType(const UserDefaults& defaults) {
    EXPECT_EQ(defaults.stringForKey("string"), "Grüße, \"quoted\" = ; # [x] @at\nsecond line");
    EXPECT_EQ(defaults.stringForKey("emptyString"), "");
    EXPECT_EQ(defaults.stringForKey("atString"), "@Invalid()");
    EXPECT_EQ(defaults.integerForKey("integer"), -42);
    EXPECT_EQ(defaults.integerForKey("maxInteger"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(defaults.integerForKey("minInteger"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(defaults.doubleForKey("double"), 0.1);
    EXPECT_EQ(defaults.doubleForKey("tinyDouble"), -1.2345678901234567e-300);
    EXPECT_EQ(defaults.boolForKey("yes"), true);
    EXPECT_EQ(defaults.boolForKey("no"), false);
    EXPECT_EQ(defaults.dateForKey("date"), Date::withTimeIntervalSince1970(1700000000.125));
    EXPECT_EQ(defaults.stringListForKey("list"), QStringList({"Saturday", "Sunday, too", ""}));
    EXPECT_EQ(defaults.stringListForKey("oneItem"), QStringList({"only"}));
    EXPECT_EQ(defaults.stringListForKey("emptyList"), QStringList());
    for (const char* key : {"string", "integer", "double", "yes", "date", "list", "oneItem", "emptyList"}) {
        EXPECT_TRUE(defaults.objectExists(key)) << key;
    }
}

TEST_F(UserDefaultsTest, EveryTypeRoundTripsInMemoryAndThroughTheFile) {
    {
        UserDefaults defaults(path("settings.ini"));
        writeEveryType(defaults);
        expectEveryType(defaults);
        EXPECT_TRUE(defaults.synchronize());
    }
    expectEveryType(*reopenedCopy("settings.ini"));
    // A second store on the same file sees the first one's values.
    expectEveryType(UserDefaults(path("settings.ini")));
}

TEST_F(UserDefaultsTest, AbsentAndRemovedKeysGiveNothing) {
    {
        UserDefaults defaults(path("settings.ini"));
        EXPECT_FALSE(defaults.objectExists("missing"));
        EXPECT_EQ(defaults.stringForKey("missing"), std::nullopt);
        EXPECT_EQ(defaults.integerForKey("missing"), std::nullopt);
        EXPECT_EQ(defaults.doubleForKey("missing"), std::nullopt);
        EXPECT_EQ(defaults.boolForKey("missing"), std::nullopt);
        EXPECT_EQ(defaults.dateForKey("missing"), std::nullopt);
        EXPECT_EQ(defaults.stringListForKey("missing"), std::nullopt);
        defaults.setInteger("kept", 1);
        defaults.setInteger("removed", 2);
        defaults.removeObjectForKey("removed");
        EXPECT_FALSE(defaults.objectExists("removed"));
        defaults.synchronize();
    }
    auto reopened = reopenedCopy("settings.ini");
    EXPECT_EQ(reopened->integerForKey("kept"), 1);
    EXPECT_FALSE(reopened->objectExists("removed"));
}

// The same answers before and after the values went through the file.
void expectWrongTypesAbsent(const UserDefaults& defaults) {
    EXPECT_EQ(defaults.integerForKey("text"), std::nullopt);
    EXPECT_EQ(defaults.doubleForKey("text"), std::nullopt);
    EXPECT_EQ(defaults.boolForKey("text"), std::nullopt);
    EXPECT_EQ(defaults.dateForKey("text"), std::nullopt);
    EXPECT_EQ(defaults.integerForKey("fraction"), std::nullopt);
    EXPECT_EQ(defaults.doubleForKey("fraction"), 1.5);
    EXPECT_EQ(defaults.boolForKey("two"), std::nullopt);
    EXPECT_EQ(defaults.boolForKey("one"), true);
    EXPECT_EQ(defaults.doubleForKey("two"), 2.0);
    EXPECT_EQ(defaults.integerForKey("flag"), std::nullopt);
    EXPECT_EQ(defaults.stringForKey("flag"), "true");
    EXPECT_EQ(defaults.stringForKey("list"), std::nullopt);
    EXPECT_EQ(defaults.integerForKey("list"), std::nullopt);
    EXPECT_EQ(defaults.stringForKey("emptyList"), std::nullopt);
    EXPECT_EQ(defaults.stringListForKey("text"), QStringList({"abc"}));
}

TEST_F(UserDefaultsTest, ValuesOfAnotherTypeCountAsAbsent) {
    UserDefaults defaults(path("settings.ini"));
    defaults.setString("text", "abc");
    defaults.setDouble("fraction", 1.5);
    defaults.setInteger("two", 2);
    defaults.setInteger("one", 1);
    defaults.setBool("flag", true);
    defaults.setStringList("list", {"a", "b"});
    defaults.setStringList("emptyList", {});
    expectWrongTypesAbsent(defaults);
    defaults.synchronize();
    expectWrongTypesAbsent(*reopenedCopy("settings.ini"));
}

TEST_F(UserDefaultsTest, ReadsAHandWrittenFile) {
    writeFile("settings.ini", "[General]\nnumber=42\nflag=TRUE\nnames=Friday, Saturday\nzone=Europe/Berlin\n"
                              "when=1700000000.5\n");
    UserDefaults defaults(path("settings.ini"));
    EXPECT_EQ(defaults.integerForKey("number"), 42);
    EXPECT_EQ(defaults.boolForKey("flag"), true);
    EXPECT_EQ(defaults.stringListForKey("names"), QStringList({"Friday", "Saturday"}));
    EXPECT_EQ(defaults.stringForKey("zone"), "Europe/Berlin");
    EXPECT_EQ(defaults.dateForKey("when"), Date::withTimeIntervalSince1970(1700000000.5));
}

TEST_F(UserDefaultsTest, BinaryGarbageIsMovedAsideLikeADamagedFile) {
    QByteArray garbage;
    for (int index = 0; index < 4096; ++index) {
        garbage.append(static_cast<char>((index * 7919 + 13) % 256));
    }
    writeFile("settings.ini", garbage);
    LogCapture capture;
    {
        UserDefaults defaults(path("settings.ini"));
        EXPECT_TRUE(capture.contains(Log::Level::Warning, "settings", "damaged"));
        EXPECT_FALSE(defaults.objectExists("hintsEnabled"));
        EXPECT_EQ(defaults.boolForKey("hintsEnabled"), std::nullopt);
        defaults.setBool("hintsEnabled", false);
        EXPECT_TRUE(defaults.synchronize());
    }
    EXPECT_EQ(reopenedCopy("settings.ini")->boolForKey("hintsEnabled"), false);
    QFile aside(path("settings.ini.damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), garbage);
}

TEST_F(UserDefaultsTest, DamagedFileIsMovedAsideWithAWarning) {
    writeFile("settings.ini", "[broken\nweekendDays=2\n");
    LogCapture capture;
    {
        UserDefaults defaults(path("settings.ini"));
        EXPECT_TRUE(capture.contains(Log::Level::Warning, "settings", "damaged"));
        EXPECT_FALSE(defaults.objectExists("weekendDays"));
        EXPECT_FALSE(defaults.objectExists("broken/weekendDays"));
        defaults.setInteger("weekendDays", 1);
        EXPECT_TRUE(defaults.synchronize());
    }
    EXPECT_TRUE(QFile::exists(path("settings.ini.damaged")));
    EXPECT_EQ(reopenedCopy("settings.ini")->integerForKey("weekendDays"), 1);
}

TEST_F(UserDefaultsTest, UnusableFilesGiveDefaultsKeepValuesInMemoryAndFailToSync) {
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("settings.ini"));
    writeFile("not-a-folder", "");
    LogCapture capture;
    UserDefaults unreadable(path("settings.ini"));
    EXPECT_TRUE(capture.contains(Log::Level::Warning, "settings", "Could not read"));
    UserDefaults unwritable(path("not-a-folder/settings.ini"));

    for (UserDefaults* defaults : {&unreadable, &unwritable}) {
        EXPECT_FALSE(defaults->objectExists("timeZone"));
        defaults->setString("timeZone", "Europe/Paris");
        EXPECT_EQ(defaults->stringForKey("timeZone"), "Europe/Paris");
        capture.clear();
        EXPECT_FALSE(defaults->synchronize());
        EXPECT_TRUE(capture.contains(Log::Level::Warning, "settings", "Could not write"));
        EXPECT_EQ(defaults->stringForKey("timeZone"), "Europe/Paris");
    }
}

TEST_F(UserDefaultsTest, ChangesAreWrittenOnTheNextTurnOfTheEventLoop) {
    UserDefaults defaults(path("settings.ini"));
    defaults.setString("defaultCalendar", "Home");
    QCoreApplication::processEvents();
    EXPECT_EQ(reopenedCopy("settings.ini")->stringForKey("defaultCalendar"), "Home");
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNoKey) {
    constexpr int threadCount = 4;
    constexpr int keysPerThread = 100;
    {
        UserDefaults defaults(path("settings.ini"));
        std::vector<std::thread> threads;
        for (int thread = 0; thread < threadCount; ++thread) {
            threads.emplace_back([&defaults, thread] {
                for (int index = 0; index < keysPerThread; ++index) {
                    const QString key = QStringLiteral("thread%1/key%2").arg(thread).arg(index);
                    defaults.setInteger(key, thread * 1000 + index);
                    EXPECT_EQ(defaults.integerForKey(key), thread * 1000 + index);
                    if (index % 10 == 0) {
                        defaults.synchronize();
                    }
                }
            });
        }
        // Events of the store may arrive on this thread meanwhile.
        QCoreApplication::processEvents();
        for (auto& thread : threads) {
            thread.join();
        }
        QCoreApplication::processEvents();
        EXPECT_TRUE(defaults.synchronize());
    }
    auto reopened = reopenedCopy("settings.ini");
    for (int thread = 0; thread < threadCount; ++thread) {
        for (int index = 0; index < keysPerThread; ++index) {
            EXPECT_EQ(reopened->integerForKey(QStringLiteral("thread%1/key%2").arg(thread).arg(index)),
                      thread * 1000 + index);
        }
    }
}

TEST_F(UserDefaultsTest, StandardStoreLivesInTheConfigurationFolder) {
    Paths::setDataDirectory(m_folder.path());
    const std::shared_ptr<UserDefaults> previous = UserDefaults::setStandardUserDefaults(nullptr);

    std::vector<UserDefaults*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t index = 0; index < seen.size(); ++index) {
        threads.emplace_back([&seen, index] { seen[index] = &UserDefaults::standardUserDefaults(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (UserDefaults* defaults : seen) {
        EXPECT_EQ(defaults, seen.front());
    }
    EXPECT_EQ(QDir::cleanPath(UserDefaults::standardUserDefaults().filePath()),
              QDir::cleanPath(path("settings.ini")));

    UserDefaults* const created = &UserDefaults::standardUserDefaults();
    auto replacement = std::make_shared<UserDefaults>(path("other.ini"));
    EXPECT_EQ(UserDefaults::setStandardUserDefaults(replacement).get(), created);
    EXPECT_EQ(&UserDefaults::standardUserDefaults(), replacement.get());

    UserDefaults::setStandardUserDefaults(previous);
    Paths::setDataDirectory(QString());
}

} // namespace
