#include "core/sync/CalDavClient.h"
#include "testing/RadicaleServer.h"
#include "testing/SessionKeyring.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <set>

namespace {

QByteArray serverEvent(int number) {
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Another device//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:server-%1\r\nDTSTAMP:20240101T000000Z\r\n"
                          "DTSTART:20240506T070000Z\r\nDTEND:20240506T080000Z\r\nSUMMARY:Server %1\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(number)
        .toUtf8();
}

// orvella-cli as a person runs it, against a real Radicale, in a data folder of its own.
class SyncCommandTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        const QString failure = m_radicale.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        const QString problem = m_radicale.createCalendar(QStringLiteral("work"), QStringLiteral("Work"));
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        m_work = m_radicale.calendarUrl(QStringLiteral("work"));
        QFile password(passwordFile());
        ASSERT_TRUE(password.open(QIODevice::WriteOnly));
        password.write(m_radicale.password().toUtf8() + '\n');
    }

    QString passwordFile() const { return m_folder.filePath(QStringLiteral("password")); }

    QProcess* start(QStringList arguments) {
        auto* process = new QProcess;
        m_processes.emplace_back(process);
        arguments.prepend(m_folder.filePath(QStringLiteral("data")));
        arguments.prepend(QStringLiteral("--data-dir"));
        process->setProcessEnvironment(m_environment);
        process->start(QStringLiteral(ORVELLA_CLI_EXECUTABLE), arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // `account add` of the test server as "Home", the password given in a file.
    std::pair<int, QString> addHome() {
        return run({QStringLiteral("account"), QStringLiteral("add"), QStringLiteral("caldav"),
                    m_radicale.url().toString(), QStringLiteral("--user"), m_radicale.userName(),
                    QStringLiteral("--title"), QStringLiteral("Home"), QStringLiteral("--password-file"),
                    passwordFile()});
    }

    // Its exit status and output.
    std::pair<int, QString> run(const QStringList& arguments) {
        QProcess* process = start(arguments);
        EXPECT_TRUE(process->waitForFinished(60000));
        return {process->exitCode(),
                QString::fromUtf8(process->readAllStandardOutput() + process->readAllStandardError())};
    }

    // No keyring unless a test starts one: the person's own is never touched.
    QProcessEnvironment m_environment = SessionKeyring::withoutKeyring();
    QTemporaryDir m_folder;
    RadicaleServer m_radicale;
    QUrl m_work;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(SyncCommandTest, AnAccountIsAddedListedSyncedAndRemoved) {
    CalDavClient other(m_radicale.userName(), m_radicale.password(), CalDavClient::Options{});
    ASSERT_TRUE(other.put(m_work.resolved(QUrl(QStringLiteral("a.ics"))), serverEvent(1), QString()));

    auto [added, addOutput] = addHome();
    EXPECT_EQ(added, 0) << addOutput.toStdString();
    EXPECT_TRUE(addOutput.contains(QStringLiteral("Home: pulled 1, pushed 0"))) << addOutput.toStdString();
    auto [listed, listOutput] = run({QStringLiteral("account"), QStringLiteral("list")});
    EXPECT_TRUE(listOutput.startsWith(QStringLiteral("Home\t"))) << listOutput.toStdString();

    // A wrong password names the failure and exits with 1.
    QFile wrong(m_folder.filePath(QStringLiteral("wrong")));
    ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
    wrong.write("nope\n");
    wrong.close();
    auto [refused, refusedOutput] =
        run({QStringLiteral("sync"), QStringLiteral("--password-file"), wrong.fileName()});
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(refusedOutput.contains(QStringLiteral("the sync of Home stopped")))
        << refusedOutput.toStdString();

    auto [removed, removeOutput] =
        run({QStringLiteral("account"), QStringLiteral("remove"), QStringLiteral("Home")});
    EXPECT_EQ(removed, 0) << removeOutput.toStdString();
    EXPECT_FALSE(run({QStringLiteral("week"), QStringLiteral("2024-05-06")})
                     .second.contains(QStringLiteral("Server 1")));
}

TEST_F(SyncCommandTest, APasswordIsKeptInTheKeyringAndNowhereElse) {
    SessionKeyring keyring;
    const QString notStarted = keyring.start();
    ASSERT_TRUE(notStarted.isEmpty()) << notStarted.toStdString();
    m_environment = keyring.environment();
    CalDavClient other(m_radicale.userName(), m_radicale.password(), CalDavClient::Options{});
    ASSERT_TRUE(other.put(m_work.resolved(QUrl(QStringLiteral("a.ics"))), serverEvent(1), QString()));

    auto [added, addOutput] = addHome();
    ASSERT_EQ(added, 0) << addOutput.toStdString();
    EXPECT_TRUE(addOutput.contains(QStringLiteral("kept in the keyring"))) << addOutput.toStdString();

    // The next sync asks for nothing: standard input is closed at once.
    ASSERT_TRUE(other.put(m_work.resolved(QUrl(QStringLiteral("b.ics"))), serverEvent(2), QString()));
    QProcess* sync = start({QStringLiteral("sync")});
    sync->closeWriteChannel();
    ASSERT_TRUE(sync->waitForFinished(60000));
    const QString syncOutput =
        QString::fromUtf8(sync->readAllStandardOutput() + sync->readAllStandardError());
    EXPECT_EQ(sync->exitCode(), 0) << syncOutput.toStdString();
    EXPECT_TRUE(syncOutput.contains(QStringLiteral("Home: pulled 1"))) << syncOutput.toStdString();

    // Not in the settings, not in the database, not in any file of the data folder.
    QDirIterator files(m_folder.filePath(QStringLiteral("data")), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains(m_radicale.password().toUtf8()))
            << file.fileName().toStdString();
    }
}

TEST_F(SyncCommandTest, ASelfSignedServerIsAddedOnlyWithItsFingerprint) {
    RadicaleServer secure;
    ASSERT_TRUE(secure.useSelfSignedCertificate().isEmpty());
    ASSERT_TRUE(secure.start().isEmpty());
    ASSERT_TRUE(secure.createCalendar(QStringLiteral("home"), QStringLiteral("Home")).isEmpty());
    const QStringList add{QStringLiteral("account"),         QStringLiteral("add"),
                          QStringLiteral("caldav"),          secure.url().toString(),
                          QStringLiteral("--user"),          secure.userName(),
                          QStringLiteral("--title"),         QStringLiteral("Secure"),
                          QStringLiteral("--password-file"), passwordFile()};
    const QString fingerprint = QString::fromLatin1(secure.certificateSha256().toHex(':').toUpper());

    auto [refused, refusedOutput] = run(add);
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(refusedOutput.contains(QStringLiteral("--certificate ") + fingerprint))
        << refusedOutput.toStdString();
    EXPECT_FALSE(
        run({QStringLiteral("account"), QStringLiteral("list")}).second.contains(QStringLiteral("Secure")));
    EXPECT_EQ(run(add + QStringList{QStringLiteral("--certificate"), QStringLiteral("00:11")}).first, 1);

    // Typed in lower case without the colons, as some tools print it; kept for the syncs.
    auto [added, addOutput] = run(add + QStringList{QStringLiteral("--certificate"),
                                                    QString::fromLatin1(secure.certificateSha256().toHex())});
    EXPECT_EQ(added, 0) << addOutput.toStdString();
    auto [synced, syncOutput] =
        run({QStringLiteral("sync"), QStringLiteral("--password-file"), passwordFile()});
    EXPECT_EQ(synced, 0) << syncOutput.toStdString();
}

// Syncs killed with SIGKILL at different moments, each followed by another sync, leave the server
// and this computer with every event once.
TEST_F(SyncCommandTest, SyncsKilledAtAnyMomentLoseNothingAndDoubleNothing) {
    CalDavClient other(m_radicale.userName(), m_radicale.password(), CalDavClient::Options{});
    constexpr int serverEvents = 120;
    for (int number = 0; number < serverEvents; ++number) {
        ASSERT_TRUE(other.put(m_work.resolved(QUrl(QStringLiteral("s%1.ics").arg(number))),
                              serverEvent(number), QString()));
    }
    ASSERT_EQ(run({QStringLiteral("account"), QStringLiteral("add"), QStringLiteral("caldav"),
                   m_radicale.url().toString(), QStringLiteral("--user"), m_radicale.userName(),
                   QStringLiteral("--password-file"), passwordFile()})
                  .first,
              0);
    // Events made here, to be sent by the syncs that are killed.
    QFile local(m_folder.filePath(QStringLiteral("local.ics")));
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n");
    for (int number = 0; number < 40; ++number) {
        local.write(QStringLiteral("BEGIN:VEVENT\r\nUID:local-%1\r\nDTSTART:20240507T070000Z\r\n"
                                   "DTEND:20240507T080000Z\r\nSUMMARY:Local %1\r\nEND:VEVENT\r\n")
                        .arg(number)
                        .toUtf8());
    }
    local.write("END:VCALENDAR\r\n");
    local.close();
    const QString calendar = QStringLiteral("Work");
    ASSERT_EQ(run({QStringLiteral("import"), local.fileName(), QStringLiteral("--calendar"), calendar}).first,
              0);

    // Round k is killed after k × 15 ms.
    for (int round = 1; round <= 6; ++round) {
        QProcess* sync = start({QStringLiteral("sync"), QStringLiteral("--password-file"), passwordFile()});
        QThread::msleep(static_cast<unsigned long>(15 * round));
        sync->kill();
        sync->waitForFinished(5000);
        auto [synced, output] =
            run({QStringLiteral("sync"), QStringLiteral("--password-file"), passwordFile()});
        ASSERT_EQ(synced, 0) << "round " << round << ": " << output.toStdString();
    }

    const QString week =
        run({QStringLiteral("occurrences"), QStringLiteral("2024-05-06"), QStringLiteral("2024-05-08")})
            .second;
    const std::multiset<QString> titles = [&] {
        std::multiset<QString> result;
        for (const QString& line : week.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            result.insert(line.section(QLatin1Char('\t'), 4));
        }
        return result;
    }();
    EXPECT_EQ(titles.size(), std::size_t(serverEvents + 40));
    EXPECT_EQ(std::set<QString>(titles.begin(), titles.end()).size(), titles.size()) << "duplicates";
    const DavResult<std::vector<DavEntry>> onServer = other.entries(m_work);
    ASSERT_TRUE(onServer);
    EXPECT_EQ(onServer.value().size(), std::size_t(serverEvents + 40));
}

} // namespace
