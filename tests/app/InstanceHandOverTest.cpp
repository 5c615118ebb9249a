#include "app/InstanceHandOver.h"

#include "QtPrinters.h"
#include "foundation/RunLoop.h"
#include "testing/LogCapture.h"
#include "testing/ManualRunLoop.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A session bus of the test's own: dbus-daemon on a socket in a temporary folder, stopped with
// the object.
class PrivateSessionBus {
public:
    bool start() {
        m_daemon.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
             QStringLiteral("--address=unix:path=%1").arg(m_folder.filePath(QStringLiteral("bus")))});
        if (!m_daemon.waitForStarted(5000)) {
            return false;
        }
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
        }
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        return !address.isEmpty();
    }
    ~PrivateSessionBus() {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(3000);
        }
    }

    QString address;

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
};

class InstanceHandOverTest : public testing::Test {
protected:
    void SetUp() override { RunLoop::setMain(m_loop); }
    void TearDown() override { RunLoop::setMain(nullptr); }

    // A later start of the program, with the bus and a home of its own; its exit status, or -1
    // when it did not end in time.
    int runSecondStart(const QString& busAddress, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("ORVELLA_DATA_DIR"));
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setWorkingDirectory(m_home.path());
        second.start(QStringLiteral(ORVELLA_EXECUTABLE), arguments);
        // The first start answers on this thread's event loop while the second waits.
        const bool ended =
            second.waitForStarted(5000) &&
            QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 20'000);
        if (!ended) {
            second.kill();
            second.waitForFinished(3000);
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    QTemporaryDir m_home;
};

TEST_F(InstanceHandOverTest, aLaterStartHandsItsFilesToTheFirstOverTheSessionBusAndExits) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup.sh installs it)";
    }
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.start());
    const QString connectionName = QStringLiteral("orvella-hand-over-test");
    {
        InstanceHandOver first(QDBusConnection::connectToBus(bus.address, connectionName));
        QList<QStringList> opened;
        int activations = 0;
        first.onActivate = [&activations] { ++activations; };
        first.onOpen = [&opened](const QStringList& files) { opened.append(files); };
        ASSERT_EQ(first.start({}), InstanceHandOver::Outcome::Serving);

        EXPECT_EQ(runSecondStart(bus.address, {"a.ics", "file:///tmp/b%20c.ics"}), 0);
        EXPECT_TRUE(m_loop->runUntil([&opened] { return !opened.isEmpty(); }));
        EXPECT_EQ(opened, (QList<QStringList>{{m_home.filePath("a.ics"), "/tmp/b c.ics"}}));
        EXPECT_EQ(activations, 1);

        // Without files a later start only raises the window.
        EXPECT_EQ(runSecondStart(bus.address, {}), 0);
        EXPECT_TRUE(m_loop->runUntil([&activations] { return activations == 2; }));
        EXPECT_EQ(opened.size(), 1);
    }
    QDBusConnection::disconnectFromBus(connectionName);

    // No bus: the start runs alone and says so once.
    const LogCapture log;
    const QString noBusName = QStringLiteral("orvella-no-bus-test");
    {
        InstanceHandOver alone(QDBusConnection::connectToBus(
            QStringLiteral("unix:path=%1").arg(m_home.filePath("none")), noBusName));
        EXPECT_EQ(alone.start({"/tmp/a.ics"}), InstanceHandOver::Outcome::Alone);
    }
    QDBusConnection::disconnectFromBus(noBusName);
    ASSERT_EQ(log.lines().size(), 1) << log.lines().join('\n').toStdString();
    EXPECT_TRUE(log.contains(Log::Level::Info, "app", "no session bus")) << log.lines()[0].toStdString();
}

} // namespace
