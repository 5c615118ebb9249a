#include "EventStoreTestSupport.h"

#include "core/eventstore/EventStoreSchema.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "testing/LogCapture.h"

#include <QDir>
#include <QFile>

#include <thread>

namespace {

class EventStoreFilesTest : public EventStoreTest {
protected:
    QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // Another program's database: a table of its own, or its own application id.
    void foreignDatabase(const QString& path, const QString& sql) {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(path, SqliteConnection::Mode::ReadWrite));
        ASSERT_TRUE(connection.exec(sql));
    }

    // The store refuses the file with `reason`, reads and writes nothing, and leaves it as it was.
    void expectRefused(const QString& path, const QString& reason) {
        const QByteArray before = contents(path);
        LogCapture log;
        EKEventStore refused(path);
        EXPECT_EQ(refused.openProblem(),
                  QStringLiteral("The calendar database “%1” cannot be opened: %2").arg(path, reason));
        EXPECT_TRUE(refused.calendars().empty());
        auto event = EKEvent::eventWithEventStore(refused);
        event->setStartDate(at(2024, 1, 5, 9));
        event->setEndDate(at(2024, 1, 5, 10));
        StoreError error;
        EXPECT_FALSE(refused.saveEvents({event}, &error));
        EXPECT_EQ(error.localizedDescription, refused.openProblem());
        EXPECT_EQ(contents(path), before);
    }
};

} // namespace

TEST_F(EventStoreFilesTest, FilesThatAreNoStoreOfOursAreRefusedUntouched) {
    QByteArray noise(8192, Qt::Uninitialized);
    for (qsizetype i = 0; i < noise.size(); ++i) {
        noise[i] = char((i * 7919 + 13) % 251);
    }
    write(databasePath(), noise);
    expectRefused(databasePath(), "it is not an SQLite database");

    QFile::remove(databasePath());
    {
        EKEventStore full(databasePath());
        auto event = EKEvent::eventWithEventStore(full);
        event->setStartDate(at(2024, 1, 5, 9));
        event->setEndDate(at(2024, 1, 5, 10));
        event->setCalendar(full.defaultCalendarForNewEvents());
        StoreError error;
        ASSERT_TRUE(full.saveEvent(event, EKSpan::ThisEvent, &error));
    }
    const QByteArray whole = contents(databasePath());
    write(databasePath(), whole.left(whole.size() / 2));
    expectRefused(databasePath(),
                  QStringLiteral("it is cut short (%1 of %2 bytes)").arg(whole.size() / 2).arg(whole.size()));

    const QString other = m_folder.filePath("other.sqlite");
    foreignDatabase(other, "CREATE TABLE contacts (name TEXT)");
    expectRefused(other, "it is another program's database");
    const QString marked = m_folder.filePath("marked.sqlite");
    foreignDatabase(marked, "PRAGMA application_id = 1234");
    expectRefused(marked, "it belongs to another program (application id 1234)");

    const QString folderIsAFile = m_folder.filePath("data");
    write(folderIsAFile, "x");
    LogCapture log;
    EXPECT_EQ(EKEventStore(folderIsAFile + "/events.sqlite").openProblem(),
              QStringLiteral("The calendar database “%1/events.sqlite” cannot be opened: its folder %1 is a "
                             "file, not a folder")
                  .arg(folderIsAFile));
}

TEST_F(EventStoreFilesTest, StoresAreMarkedAndStoresMadeBeforeTheMarkAreRecognised) {
    store();
    {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadWrite));
        EXPECT_EQ(connection.applicationId(), EventStoreSchema::applicationId);
        ASSERT_TRUE(connection.setApplicationId(0));
    }
    reopen();
    EXPECT_TRUE(store().openProblem().isEmpty());
    EXPECT_EQ(store().calendars().size(), 1u);
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadWrite));
    EXPECT_EQ(connection.applicationId(), EventStoreSchema::applicationId);

    // The object store likewise refuses a database that is not its own.
    const QString objects = m_folder.filePath("objects.sqlite");
    foreignDatabase(objects, "CREATE TABLE contacts (name TEXT)");
    const QByteArray before = contents(objects);
    ObjectStoreManager& manager = ObjectStoreManager::sharedManager();
    const QString previous = manager.databaseFilepath();
    LogCapture log;
    manager.setDatabaseFilepath(objects);
    EXPECT_FALSE(manager.connection().isOpen());
    EXPECT_TRUE(log.contains(Log::Level::Error, "objectstore", "it is another program's database'."));
    manager.setDatabaseFilepath(previous);
    EXPECT_EQ(contents(objects), before);
}

TEST_F(EventStoreFilesTest, StoresOpeningOneNewDatabaseAtOnceWaitForEachOther) {
    LogCapture log;
    std::vector<std::thread> openers;
    std::atomic<int> saved = 0;
    for (int index = 0; index < 4; ++index) {
        openers.emplace_back([&, index] {
            EKEventStore opened(databasePath());
            auto event = EKEvent::eventWithEventStore(opened);
            event->setStartDate(at(2024, 1, 5 + index, 9));
            event->setEndDate(at(2024, 1, 5 + index, 10));
            event->setCalendar(opened.defaultCalendarForNewEvents());
            StoreError error;
            saved += opened.saveEvents({event}, &error) ? 1 : 0;
        });
    }
    for (std::thread& opener : openers) {
        opener.join();
    }
    EXPECT_EQ(saved, 4);
    EXPECT_FALSE(log.contains(Log::Level::Error, "eventstore", ""));
    EXPECT_FALSE(log.contains(Log::Level::Warning, "eventstore", "")) << log.lines().join('\n').toStdString();
    EXPECT_EQ(store().calendars().size(), 1u);
}
