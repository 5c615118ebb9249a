#include "app/OrvellaAppDelegate.h"

#include "app/AlertViewPresenter.h"
#include "app/BetaTestingClient.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/events/EventService.h"
#include "core/settings/AppSettings.h"
#include "core/sync/AccountSync.h"
#include "foundation/RunLoop.h"
#include "kit/StatusBar.h"
#include "kit/ViewController.h"
#include "kit/Window.h"
#include "ui/accounts/PasswordPromptPresenter.h"

#include <QSysInfo>

namespace {
// This build reports to no service, so its token only marks the client as started.
const char* const betaTestingToken = "orvella-local";
} // namespace

OrvellaAppDelegate::OrvellaAppDelegate(std::shared_ptr<Window> window, std::shared_ptr<View> rootView)
    : m_window(std::move(window)), m_rootView(std::move(rootView)) {}

OrvellaAppDelegate::OrvellaAppDelegate(std::shared_ptr<Window> window,
                                       std::shared_ptr<ViewController> rootViewController)
    : m_window(std::move(window)), m_rootViewController(std::move(rootViewController)) {}

bool OrvellaAppDelegate::didFinishLaunching(Application&) {
    BetaTestingClient::takeOff(QString::fromLatin1(betaTestingToken));
    BetaTestingClient::setDeviceIdentifier(QString::fromLatin1(QSysInfo::machineUniqueId()));
    m_window->statusBar()->setStyle(StatusBar::Style::Default);
    m_window->statusBar()->toFormatTime = [](Date date) {
        return DateTimeFormatter::instance().formatTime(date);
    };
    if (m_rootViewController) {
        m_rootViewController->installAsRootViewController(*m_window);
        m_rootView = m_rootViewController->view();
    } else {
        m_window->setRootView(m_rootView);
    }
    m_window->makeKeyAndVisible();
    // Failed writes to the event store are shown to the user from now on.
    EventService::sharedInstance().setAlertPresenter(std::make_shared<AlertViewPresenter>());
    // The accounts sync from now on, asking for passwords and telling of conflicts on screen.
    AccountSync& accountSync = AccountSync::sharedInstance();
    PasswordPromptPresenter::install(accountSync);
    accountSync.start();
    if (toTellRatingPromptAppLaunched) {
        toTellRatingPromptAppLaunched();
    }
    return true;
}

void OrvellaAppDelegate::didBecomeActive(Application&) {
    ApplicationEventDispatcher::sharedInstance().dispatch<ApplicationActivatedEvent>(
        AppSettings::instance().loadLastActiveDate());
}

void OrvellaAppDelegate::willResignActive(Application&) {
    AppSettings::instance().storeLastActiveDate(RunLoop::main().now());
}

void OrvellaAppDelegate::willEnterForeground(Application&) {
    if (toTellRatingPromptAppEnteredForeground) {
        toTellRatingPromptAppEnteredForeground(true);
    }
}
