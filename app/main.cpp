#include "app/BackgroundProgram.h"
#include "app/InstanceHandOver.h"
#include "app/LaunchOptions.h"
#include "app/OccurrencePresenter.h"
#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "app/ReminderCenter.h"
#include "app/TerminationSignals.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"
#include "foundation/Paths.h"
#include "foundation/RunLoop.h"
#include "kit/AlertView.h"
#include "kit/Animator.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Image.h"
#include "kit/NavigationController.h"
#include "kit/Screen.h"
#include "kit/Window.h"
#include "kit/WindowHost.h"
#include "ui/hints/HintView.h"
#include "ui/import/ImportCoordinator.h"
#include "ui/rating/RatingPrompt.h"
#include "ui/tablet/IPadWeekScrollViewController.h"
#include "ui/week/WeekScrollViewController.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTextStream>
#include <QTranslator>

#include <cstdlib>
#include <optional>
#include <utility>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Draws the window once the content is loaded and its animations are brought to their end, then
// quits with `status`. Whether the content is loaded is asked after each change of the window:
// content arriving and every animation frame ask the window to be drawn again.
void takeScreenshotWhenReady(const std::shared_ptr<Window>& window, OrvellaAppDelegate& delegate,
                             const QString& path, int status) {
    auto checkPosted = std::make_shared<bool>(false);
    const std::weak_ptr<Window> weakWindow = window;
    auto check = [weakWindow, &delegate, path, checkPosted, status] {
        *checkPosted = false;
        const std::shared_ptr<Window> shown = weakWindow.lock();
        if (!shown || (delegate.isContentLoaded && !delegate.isContentLoaded())) {
            return;
        }
        // The picture shows the screen as it settles: the rows fading in with the content need
        // not be waited for.
        Animator::finishAll();
        if (Animator::hasEndingAnimations()) {
            return;
        }
        shown->setOnNeedsDisplay(nullptr);
        const bool saved = shown->savePng(path, Screen::main().scale());
        if (!saved) {
            QTextStream(stderr) << "orvella: could not write the screenshot to " << path << "\n";
        }
        QCoreApplication::exit(saved ? status : 1);
    };
    // The check waits for the end of the current turn, when the change is complete.
    auto postCheck = [check, checkPosted] {
        if (!std::exchange(*checkPosted, true)) {
            RunLoop::main().post(check);
        }
    };
    window->setOnNeedsDisplay(postCheck);
    postCheck();
}

// A store that cannot be used is said at once: an empty week would read as an empty calendar.
// The status of a screenshot run: 1 when the store cannot be used.
int reportStoreProblem() {
    const QString problem = EventService::sharedInstance().eventStore().openProblem();
    if (problem.isEmpty()) {
        return 0;
    }
    QTextStream(stderr) << "orvella: " << problem << "\n";
    std::make_shared<AlertView>(localizedString(QStringLiteral("Cannot open the calendar")), problem, nullptr,
                                localizedString(QStringLiteral("OK")))
        ->show();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The options are read before Qt starts: --help, --version and wrong usage need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const LaunchOptions options = LaunchOptions::parse(arguments);
    if (!options.error.isEmpty()) {
        err << "orvella: " << options.error << "\n\n" << LaunchOptions::usageText();
        return 2;
    }
    if (options.help) {
        out << LaunchOptions::helpText();
        return 0;
    }
    if (options.version) {
        out << "orvella " << LaunchOptions::programVersion << "\n";
        return 0;
    }
    if (const QString problem = Paths::locationProblem(); !problem.isEmpty()) {
        err << "orvella: " << problem << "\n";
        return 1;
    }
    if (options.background) {
        BackgroundProgram::replaceWithBackgroundExecutable();
        return BackgroundProgram::run(argc, argv, QString());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay()) {
        if (options.screenshotPath.isEmpty()) {
            err << "orvella: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "run it under xvfb-run, or draw the screen without one with --screenshot FILE.png\n";
            return 1;
        }
        // Without a display a screenshot still works: Qt then draws off screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Before Qt starts its threads, so that none of them takes the signals.
    TerminationSignals terminationSignals;
    QApplication qtApplication(argc, argv);
    // The person's language, or the one --lang names, before any screen is made.
    QTranslator translation;
    QTranslator toolkitTranslation;
    Localization::useToolkitLanguage(Localization::useLanguage(options.language, translation),
                                     toolkitTranslation);
    // Desktops match the window to its installed entry (name and icon) by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvella.Orvella"));
    terminationSignals.quitEventLoopOnArrival();
    // One window per user: a later start hands its files to the running one and ends here.
    std::optional<InstanceHandOver> handOver;
    if (options.handsOverToRunningWindow) {
        handOver.emplace(QDBusConnection::sessionBus());
        if (handOver->start(options.files) == InstanceHandOver::Outcome::HandedOver) {
            return 0;
        }
    }

    Screen::main().setScale(options.scale);
    Screen::main().setIdiom(options.tablet ? Screen::Idiom::Tablet : Screen::Idiom::Phone);
    DeviceDependentValues::initValues();

    OrvellaApp application;
    auto window = std::make_shared<Window>();
    // The week screen lives for the whole run, at the bottom of the navigation stack.
    // The one place that chooses between the phone's and the tablet's screens: every other
    // tablet screen is made by the tablet week screen and its parts.
    const std::shared_ptr<WeekScrollViewController> weekScreen =
        options.tablet ? IPadWeekScrollViewController::create() : WeekScrollViewController::create();
    auto navigation = std::make_shared<NavigationController>(weekScreen);
    OrvellaAppDelegate delegate(window, navigation);
    const auto importer = std::make_shared<ImportCoordinator>(weekScreen, EventService::sharedInstance(),
                                                              AppSettings::instance());
    // A picture of files to import shows their import screen.
    delegate.isContentLoaded = [weekScreen, importer] {
        return weekScreen->firstWeekLoaded() && !importer->isReading();
    };
    delegate.toTellRatingPromptAppLaunched = [] { RatingPrompt::appLaunched(); };
    delegate.toTellRatingPromptAppEnteredForeground = [](bool canPromptForRating) {
        RatingPrompt::appEnteredForeground(canPromptForRating);
    };
    HintView::install();
    application.setDelegate(&delegate);
    application.finishLaunching();
    const int storeStatus = reportStoreProblem();
    importer->openFiles(options.files);
    if (!options.showEventIdentifier.isEmpty()) {
        OccurrencePresenter::present(*weekScreen, options.showEventIdentifier, options.showEventStart);
    }

    if (!options.screenshotPath.isEmpty()) {
        application.becomeActive();
        takeScreenshotWhenReady(window, delegate, options.screenshotPath, storeStatus);
        const int status = qtApplication.exec();
        application.terminate();
        return status;
    }
    WindowHost host(window, application);
    if (handOver) {
        handOver->onActivate = [&host] { host.raise(); };
        handOver->onOpen = [importer](const QStringList& files) { importer->openFiles(files); };
    }
    host.show();
    // The window delivers the reminders while it runs; "Open" brings it to the front.
    auto reminders = std::make_shared<ReminderCenter>(
        ReminderCenter::Role::Window, EventService::sharedInstance(), QDBusConnection::sessionBus());
    reminders->toShowEvent = [weekScreen, &host](const QString& identifier, Date startDate) {
        OccurrencePresenter::present(*weekScreen, identifier, startDate);
        host.raise();
    };
    reminders->start();
    const int status = qtApplication.exec();
    if (handOver) {
        handOver->onActivate = nullptr;
    }
    application.terminate();
    return status;
}
