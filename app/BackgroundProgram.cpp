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
#include <QProcess>

#include <memory>

namespace {

// The settings as the window last wrote them.
void applySettings() {
    UserDefaults::standardUserDefaults().synchronize();
    TimeZone::setDefaultTimeZone(AppSettings::instance().loadDefaultTimeZone());
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
}

// The window, opened on the occurrence; a running window gets the request through its own
// program start.
void startWindow(const QString& identifier, Date startDate) {
    QStringList arguments;
    if (Paths::isDataDirectoryOverridden()) {
        arguments << QStringLiteral("--data-dir") << Paths::dataDirectory();
    }
    arguments << QStringLiteral("--show-event")
              << QStringLiteral("%1@%2").arg(identifier).arg(startDate.timeIntervalSince1970(), 0, 'f', 0);
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments)) {
        Log::warning(QStringLiteral("reminders"), QStringLiteral("Could not start the window"));
    }
}

} // namespace

int BackgroundProgram::run(int argc, char** argv) {
    // Before Qt starts its threads, so that none of them takes the signals.
    TerminationSignals terminationSignals;
    QCoreApplication application(argc, argv);
    terminationSignals.quitEventLoopOnArrival();
    applySettings();

    auto reminders = std::make_shared<ReminderCenter>(
        ReminderCenter::Role::Background, EventService::sharedInstance(), QDBusConnection::sessionBus());
    reminders->toPrepareDelivery = applySettings;
    reminders->toShowEvent = startWindow;
    reminders->start();
    return QCoreApplication::exec();
}
