#include "app/BackgroundProgram.h"

#include "app/ReminderCenter.h"
#include "app/TerminationSignals.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/settings/AppSettings.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/TimeZone.h"
#include "foundation/UserDefaults.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <memory>
#include <vector>

#include <unistd.h>

namespace {

// The settings as the window last wrote them.
void applySettings() {
    UserDefaults::standardUserDefaults().synchronize();
    TimeZone::setDefaultTimeZone(AppSettings::instance().loadDefaultTimeZone());
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
}

// The window, opened on the occurrence.
void startWindow(const QString& windowProgram, const QString& identifier, Date startDate) {
    QStringList arguments;
    if (Paths::isDataDirectoryOverridden()) {
        arguments << QStringLiteral("--data-dir") << Paths::dataDirectory();
    }
    arguments << QStringLiteral("--show-event")
              << QStringLiteral("%1@%2").arg(identifier).arg(startDate.timeIntervalSince1970(), 0, 'f', 0);
    if (!QProcess::startDetached(windowProgram, arguments)) {
        Log::warning(QStringLiteral("reminders"), QStringLiteral("Could not start the window"));
    }
}

} // namespace

int BackgroundProgram::run(int argc, char** argv, const QString& windowProgram) {
    // Before Qt starts its threads, so that none of them takes the signals.
    TerminationSignals terminationSignals;
    QCoreApplication application(argc, argv);
    terminationSignals.quitEventLoopOnArrival();
    applySettings();

    auto reminders = std::make_shared<ReminderCenter>(
        ReminderCenter::Role::Background, EventService::sharedInstance(), QDBusConnection::sessionBus());
    reminders->toPrepareDelivery = applySettings;
    const QString window = windowProgram.isEmpty() ? QCoreApplication::applicationFilePath() : windowProgram;
    reminders->toShowEvent = [window](const QString& identifier, Date startDate) {
        startWindow(window, identifier, startDate);
    };
    reminders->start();
    return QCoreApplication::exec();
}

void BackgroundProgram::replaceWithBackgroundExecutable() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QDir folder = QFileInfo(self).dir();
    const QString name = QStringLiteral("orvella-background");
    for (const QString& candidate :
         {folder.filePath(name),
          folder.filePath(QStringLiteral(ORVELLA_LIBEXEC_FROM_BIN "/orvella/") + name)}) {
        if (!QFileInfo(candidate).isExecutable()) {
            continue;
        }
        QList<QByteArray> arguments{QFile::encodeName(candidate)};
        if (Paths::isDataDirectoryOverridden()) {
            arguments << "--data-dir" << QFile::encodeName(Paths::dataDirectory());
        }
        arguments << "--window-program" << QFile::encodeName(self);
        std::vector<char*> argv;
        for (QByteArray& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(argv.front(), argv.data());
        Log::warning(QStringLiteral("reminders"),
                     QStringLiteral("Could not run %1; the reminders run in this program").arg(candidate));
        return;
    }
}
