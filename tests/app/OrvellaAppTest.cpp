#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/UserIsActiveEvent.h"
#include "core/bus/UserIsIdleEvent.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/settings/AppSettings.h"
#include "testing/ManualRunLoop.h"
#include "foundation/UserDefaults.h"
#include "kit/Window.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

// Notes the idle, active and activation events in the order they arrive.
class BusLog : public BusReceiver {
public:
    BusLog() {
        auto& bus = ApplicationEventDispatcher::sharedInstance();
        bus.registerTarget<UserIsIdleEvent>(this, &BusLog::idle);
        bus.registerTarget<UserIsActiveEvent>(this, &BusLog::active);
        bus.registerTarget<ApplicationActivatedEvent>(this, &BusLog::activated);
    }
    void idle() { log += "idle "; }
    void active() { log += "active "; }
    void activated(const std::shared_ptr<ApplicationActivatedEvent>& event) {
        log += "activated ";
        lastActiveDates.push_back(event->lastActiveDate());
    }

    std::string log;
    std::vector<std::optional<Date>> lastActiveDates;
};

class OrvellaAppTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        RunLoop::setMain(m_loop);
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(m_folder.filePath("settings.ini")));
    }
    void TearDown() override {
        if (m_previousService) {
            EventService::setSharedInstance(*m_previousService);
        }
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        RunLoop::setMain(nullptr);
    }

    QTemporaryDir m_folder;
    std::shared_ptr<ManualRunLoop> m_loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1e9));
    std::shared_ptr<UserDefaults> m_previousDefaults;
    // A launch gives the event service its alerts; the service's store stays in the temporary
    // folder.
    void useEventServiceInTemporaryFolder() {
        m_previousService = EventService::setSharedInstance(std::make_shared<EventService>(
            std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"))));
    }

    std::optional<std::shared_ptr<EventService>> m_previousService;
    BusLog m_bus;
};

TEST_F(OrvellaAppTest, TenSecondsWithoutATouchMakeTheUserIdleOnce) {
    OrvellaApp app;
    m_loop->advance(9.9);
    EXPECT_EQ(m_bus.log, "");
    m_loop->advance(0.1);
    EXPECT_EQ(m_bus.log, "idle ");
    EXPECT_TRUE(app.idle());
    m_loop->advance(60);
    EXPECT_EQ(m_bus.log, "idle ");
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

TEST_F(OrvellaAppTest, AResetWhileIdleReportsActiveBeforeTheNewTimerRuns) {
    OrvellaApp app;
    m_loop->advance(10);
    app.resetIdleTimer();
    EXPECT_EQ(m_bus.log, "idle active ");
    EXPECT_FALSE(app.idle());
    m_loop->advance(5);
    app.resetIdleTimer(); // not idle: no report, the timer restarts
    m_loop->advance(9.9);
    EXPECT_EQ(m_bus.log, "idle active ");
    m_loop->advance(0.1);
    EXPECT_EQ(m_bus.log, "idle active idle ");
}

TEST_F(OrvellaAppTest, FirstActivationCarriesNoLastActiveDateAndLaterOnesTheResignTime) {
    useEventServiceInTemporaryFolder();
    OrvellaApp app;
    auto window = std::make_shared<Window>();
    auto root = std::make_shared<View>();
    OrvellaAppDelegate delegate(window, root);
    int launchesTold = 0;
    delegate.toTellRatingPromptAppLaunched = [&] { ++launchesTold; };
    std::vector<bool> foregroundsTold;
    delegate.toTellRatingPromptAppEnteredForeground = [&](bool canPrompt) {
        foregroundsTold.push_back(canPrompt);
    };
    app.setDelegate(&delegate);

    app.finishLaunching();
    EXPECT_EQ(launchesTold, 1);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(root->superview(), window);
    EXPECT_EQ(window->subviews().front(), root);

    app.becomeActive();
    m_loop->advance(30);
    const Date resignTime = m_loop->now();
    app.enterBackground();
    EXPECT_EQ(AppSettings::instance().loadLastActiveDate(), resignTime);
    m_loop->advance(100);
    app.becomeActive();

    ASSERT_EQ(m_bus.lastActiveDates.size(), 2u);
    EXPECT_FALSE(m_bus.lastActiveDates[0].has_value());
    EXPECT_EQ(m_bus.lastActiveDates[1], resignTime);
    EXPECT_EQ(foregroundsTold, std::vector<bool>{true});
}

} // namespace
