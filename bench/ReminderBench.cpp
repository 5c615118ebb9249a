// Measures the reminders: how late an alert is delivered after its moment on the real main loop
// beside the generated calendar, and what `orvella --background` costs while it waits.
#include "GeneratedStore.h"
#include "ProcessRun.h"

#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderSchedule.h"
#include "foundation/RunLoop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>

namespace {

// From the alert's moment to the call that hands it to the notification server (onReminderDue,
// which sends Notify without waiting for the answer), with the Qt timer the program uses.
void BM_ReminderDueToNotify(benchmark::State& state) {
    GeneratedStore& calendar = generated();
    auto schedule = std::make_shared<ReminderSchedule>(
        *calendar.service, std::make_shared<ReminderRecord>(calendar.folder.filePath("bench-reminders.txt")));
    std::optional<Date> deliveredAt;
    schedule->onReminderDue = [&deliveredAt](const Reminder&) { deliveredAt = RunLoop::main().now(); };
    schedule->start();
    for (auto _ : state) {
        const Date due = RunLoop::main().now().addingTimeInterval(0.2);
        auto event = EKEvent::eventWithEventStore(*calendar.store);
        event->setTitle(QStringLiteral("Reminder"));
        event->setStartDate(due.addingTimeInterval(300));
        event->setEndDate(due.addingTimeInterval(900));
        event->setCalendar(calendar.store->defaultCalendarForNewEvents());
        event->addAlarm(EKAlarm::alarmWithRelativeOffset(-300));
        calendar.service->saveEvent(event, EKSpan::ThisEvent);
        deliveredAt.reset();
        QElapsedTimer waited;
        waited.start();
        while (!deliveredAt && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        if (!deliveredAt) {
            state.SkipWithError("the reminder was not delivered within 5 seconds");
            break;
        }
        state.SetIterationTime(deliveredAt->timeIntervalSinceDate(due));
        calendar.service->deleteEvent(event, EKSpan::ThisEvent);
    }
    schedule->stop();
}
BENCHMARK(BM_ReminderDueToNotify)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Context switches of all the process's threads: each is a wake-up.
double contextSwitches(qint64 pid) {
    double switches = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/%1/task/%2/status").arg(pid).arg(task));
        if (!status.open(QIODevice::ReadOnly)) {
            continue;
        }
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:")) {
                switches += line.split(':').last().trimmed().toDouble();
            }
        }
    }
    return switches;
}

double residentMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

// `orvella --background` on the generated calendar with an alert an hour away, on a session bus
// of its own: resident memory, and wake-ups over 10 seconds of waiting.
void BM_BackgroundProgramIdle(benchmark::State& state) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        state.SkipWithError("dbus-daemon is not installed (scripts/setup.sh installs it)");
        return;
    }
    GeneratedStore& calendar = generated();
    auto event = EKEvent::eventWithEventStore(*calendar.store);
    event->setTitle(QStringLiteral("Later"));
    event->setStartDate(RunLoop::main().now().addingTimeInterval(3900));
    event->setEndDate(RunLoop::main().now().addingTimeInterval(7200));
    event->setCalendar(calendar.store->defaultCalendarForNewEvents());
    event->addAlarm(EKAlarm::alarmWithRelativeOffset(-300));
    calendar.service->saveEvent(event, EKSpan::ThisEvent);

    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    bus.waitForReadyRead(5000);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QString::fromUtf8(bus.readLine()).trimmed());
    environment.remove(QStringLiteral("DISPLAY"));
    QProcess background;
    background.setProcessEnvironment(environment);
    background.setStandardOutputFile(QProcess::nullDevice());
    background.setStandardErrorFile(QProcess::nullDevice());
    for (auto _ : state) {
        background.start(programPath("orvella"), {QStringLiteral("--background"),
                                                  QStringLiteral("--data-dir"), calendar.folder.path()});
        background.waitForStarted(5000);
        QThread::sleep(3);
        const qint64 pid = background.processId();
        const double before = contextSwitches(pid);
        QThread::sleep(10);
        const double after = contextSwitches(pid);
        state.counters["resident_MB"] = residentMegabytes(pid);
        state.counters["wakeups_per_s"] = (after - before) / 10.0;
        background.terminate();
        background.waitForFinished(5000);
    }
    bus.terminate();
    bus.waitForFinished(5000);
    calendar.service->deleteEvent(event, EKSpan::ThisEvent);
}
BENCHMARK(BM_BackgroundProgramIdle)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
