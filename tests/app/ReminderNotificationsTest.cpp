#include "app/ReminderCenter.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "harness/ScreenHarness.h"
#include "testing/LogCapture.h"
#include "testing/ManualRunLoop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Keeps serving Qt's events until `condition` holds or `milliseconds` pass.
bool serveEventsUntil(const std::function<bool()>& condition, int milliseconds = 5000) {
    const QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

// A session of its own for the test: a virtual X server on a free display, a session bus and the
// dunst notification server on them. Everything it started ends with it.
class NotificationSession {
public:
    static QString missingProgram() {
        for (const char* program : {"Xvfb", "dbus-daemon", "dunst", "dunstctl"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
                return QString::fromLatin1(program);
            }
        }
        return {};
    }

    ~NotificationSession() {
        for (auto process = m_processes.rbegin(); process != m_processes.rend(); ++process) {
            (*process)->terminate();
            if (!(*process)->waitForFinished(2000)) {
                (*process)->kill();
                (*process)->waitForFinished(2000);
            }
        }
    }

    bool start() {
        if (!startDisplay()) {
            return false;
        }
        QProcess& bus =
            launch(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--print-address")});
        if (!serveEventsUntil([&bus] { return bus.canReadLine(); })) {
            return false;
        }
        m_address = QString::fromUtf8(bus.readLine()).trimmed();
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        launch(QStringLiteral("dunst"), {});
        const QDBusConnection connection =
            QDBusConnection::connectToBus(m_address, QStringLiteral("session-check"));
        const bool serving = serveEventsUntil([&connection] {
            return connection.interface()
                ->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications"))
                .value();
        });
        QDBusConnection::disconnectFromBus(QStringLiteral("session-check"));
        return serving;
    }

    const QString& address() const { return m_address; }

    // What dunstctl says, as JSON when it prints JSON.
    QByteArray dunstctl(const QStringList& arguments) {
        QProcess control;
        control.setProcessEnvironment(m_environment);
        control.start(QStringLiteral("dunstctl"), arguments);
        control.waitForFinished(5000);
        return control.readAllStandardOutput();
    }

    // "appname | summary | body" of each notification dunst keeps in its history.
    std::vector<QString> history() {
        dunstctl({QStringLiteral("close-all")});
        std::vector<QString> notifications;
        const QJsonArray lists = QJsonDocument::fromJson(dunstctl({QStringLiteral("history")}))
                                     .object()
                                     .value(QStringLiteral("data"))
                                     .toArray();
        for (const QJsonValue& list : lists) {
            for (const QJsonValue& entry : list.toArray()) {
                const QJsonObject notification = entry.toObject();
                const auto field = [&notification](const char* name) {
                    return notification.value(QLatin1String(name))
                        .toObject()
                        .value(QStringLiteral("data"))
                        .toString();
                };
                notifications.push_back(field("appname") + " | " + field("summary") + " | " + field("body"));
            }
        }
        return notifications;
    }

private:
    QProcess& launch(const QString& program, const QStringList& arguments) {
        m_processes.push_back(std::make_unique<QProcess>());
        QProcess& process = *m_processes.back();
        process.setProcessEnvironment(m_environment);
        process.setProcessChannelMode(program == QLatin1String("dbus-daemon")
                                          ? QProcess::SeparateChannels
                                          : QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        process.waitForStarted(5000);
        return process;
    }

    // The first display from 240 on with neither a lock nor a socket.
    bool startDisplay() {
        m_environment = QProcessEnvironment::systemEnvironment();
        for (int display = 240; display < 300; ++display) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) ||
                QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display))) {
                continue;
            }
            QProcess& server =
                launch(QStringLiteral("Xvfb"),
                       {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("640x480x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
            if (serveEventsUntil(
                    [&] { return QFile::exists(socket) || server.state() == QProcess::NotRunning; }) &&
                server.state() == QProcess::Running) {
                m_environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
                return true;
            }
        }
        return false;
    }

    QProcessEnvironment m_environment;
    QString m_address;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST(ReminderNotificationsTest, AnAlertDueOnTheTestClockReachesARealNotificationServer) {
    if (const QString missing = NotificationSession::missingProgram(); !missing.isEmpty()) {
        GTEST_SKIP() << missing.toStdString() << " is not installed (scripts/setup.sh installs it)";
    }
    NotificationSession session;
    ASSERT_TRUE(session.start()) << "the virtual display, session bus or dunst did not start";
    ScreenHarness harness;
    const Date now = harness.loop().now();
    auto event = EKEvent::eventWithEventStore(harness.eventStore());
    event->setTitle(QStringLiteral("Dentist"));
    event->setLocation(QStringLiteral("Main Street 1"));
    event->setStartDate(now.addingTimeInterval(603));
    event->setEndDate(now.addingTimeInterval(3603));
    event->setCalendar(harness.eventStore().defaultCalendarForNewEvents());
    event->addAlarm(EKAlarm::alarmWithRelativeOffset(-600));
    ASSERT_TRUE(harness.eventService().saveEvent(event, EKSpan::ThisEvent));

    {
        const LogCapture log;
        const QDBusConnection connection =
            QDBusConnection::connectToBus(session.address(), QStringLiteral("reminders"));
        auto reminders = std::make_shared<ReminderCenter>(ReminderCenter::Role::Window,
                                                          harness.eventService(), connection);
        reminders->start();
        EXPECT_TRUE(log.contains(Log::Level::Info, "reminders", "The window delivers reminders"));
        harness.advance(2.9);
        QCoreApplication::processEvents();
        EXPECT_EQ(session.dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}).trimmed(), "0");

        harness.advance(0.1);
        std::vector<QString> shown;
        EXPECT_TRUE(serveEventsUntil([&] {
            shown = session.history();
            return !shown.empty();
        }));
        const QString time = DateTimeFormatter::instance().formatTime(event->startDate());
        EXPECT_EQ(shown, (std::vector<QString>{"Orvella | Dentist | " + time + "\nMain Street 1"}));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("reminders"));
}

} // namespace
