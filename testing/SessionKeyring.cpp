#include "testing/SessionKeyring.h"

#include <QDir>
#include <QStandardPaths>

#include <chrono>
#include <csignal>
#include <sys/prctl.h>
#include <thread>

namespace {

constexpr int startMilliseconds = 10000;

// Ends with the test program, even one that crashes.
void endWithParent(QProcess& process) {
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

SessionKeyring::~SessionKeyring() {
    stopProcess(m_keyring);
    stopProcess(m_bus);
}

QProcessEnvironment SessionKeyring::withoutKeyring() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent/bus"));
    return environment;
}

QString SessionKeyring::keyringFolder() const {
    return m_home.filePath(QStringLiteral(".local/share/keyrings"));
}

QString SessionKeyring::start() {
    for (const char* program : {"dbus-daemon", "gnome-keyring-daemon", "dbus-send"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            return QStringLiteral("%1 is not installed").arg(QString::fromLatin1(program));
        }
    }
    if (!m_home.isValid()) {
        return QStringLiteral("no temporary folder for the keyring's home");
    }
    const QString runtime = m_home.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("HOME"), m_home.path());
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral(".local/share")));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral(".config")));

    endWithParent(m_bus);
    endWithParent(m_keyring);
    m_bus.setProcessEnvironment(m_environment);
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    if (!m_bus.waitForReadyRead(startMilliseconds)) {
        return QStringLiteral("the session bus did not start: %1").arg(m_bus.errorString());
    }
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                         QString::fromUtf8(m_bus.readLine().trimmed()));

    m_keyring.setProcessEnvironment(m_environment);
    m_keyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_keyring.start(
        QStringLiteral("gnome-keyring-daemon"),
        {QStringLiteral("--foreground"), QStringLiteral("--unlock"), QStringLiteral("--components=secrets")});
    if (!m_keyring.waitForStarted(startMilliseconds)) {
        return QStringLiteral("the keyring did not start: %1").arg(m_keyring.errorString());
    }
    // --unlock reads the login keyring's password from standard input, to its end.
    m_keyring.write("test-keyring");
    m_keyring.waitForBytesWritten(startMilliseconds);
    m_keyring.closeWriteChannel();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startMilliseconds);
    while (!serviceAnswers()) {
        if (m_keyring.state() == QProcess::NotRunning || std::chrono::steady_clock::now() > deadline) {
            return QStringLiteral("the keyring's Secret Service did not come on the session bus");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return QString();
}

bool SessionKeyring::serviceAnswers() const {
    QProcess ask;
    ask.setProcessEnvironment(m_environment);
    ask.start(QStringLiteral("dbus-send"),
              {QStringLiteral("--session"), QStringLiteral("--print-reply"),
               QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
               QStringLiteral("org.freedesktop.DBus.NameHasOwner"),
               QStringLiteral("string:org.freedesktop.secrets")});
    return ask.waitForFinished(3000) && ask.readAllStandardOutput().contains("boolean true");
}
