#include "ui/rating/RatingPrompt.h"

#include "SamplePictures.h"
#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "testing/ManualRunLoop.h"
#include "foundation/UserDefaults.h"
#include "harness/ScreenHarness.h"
#include "kit/AlertView.h"
#include "kit/Bundle.h"
#include "kit/Button.h"
#include "testing/FakeReachability.h"
#include "kit/NavigationController.h"
#include "kit/Screen.h"
#include "kit/UrlOpener.h"
#include "kit/Window.h"
#include "ui/week/WeekScrollViewController.h"

#include <gtest/gtest.h>

namespace {

class ReviewPageRecorder : public UrlOpener {
public:
    bool openURL(const QString& address) override {
        opened.append(address);
        return true;
    }
    QStringList opened;
};

constexpr double ratingTestDay = 86400.0;

// The application launched with the delegate's rating hooks wired as the executable wires them,
// on the harness's clock, defaults and in-place background work.
class RatingPromptTest : public testing::Test {
protected:
    void SetUp() override {
        Reachability::setShared(m_reachability);
        UrlOpener::setShared(m_reviewPages);
        runVersion("2.0");
        m_delegate.toTellRatingPromptAppLaunched = [] { RatingPrompt::appLaunched(); };
        m_delegate.toTellRatingPromptAppEnteredForeground = [](bool canPromptForRating) {
            RatingPrompt::appEnteredForeground(canPromptForRating);
        };
        m_harness.application().setDelegate(&m_delegate);
        m_harness.application().finishLaunching();
        m_harness.application().becomeActive();
        m_harness.runUntilIdle();
    }
    void TearDown() override {
        RatingPrompt::appWillResignActive();
        m_harness.application().setDelegate(nullptr);
        Reachability::setShared(nullptr);
        UrlOpener::setShared(nullptr);
        Bundle::setMain(std::nullopt);
    }

    static void runVersion(const QString& version) { Bundle::setMain(Bundle("Orvella", version, "7")); }
    // The user leaves and comes back `seconds` later: one more use.
    void returnAfter(double seconds) {
        m_harness.application().enterBackground();
        // Suspended in the background: the time passes without the timers of the screen.
        m_harness.loop().setNow(m_harness.loop().now().addingTimeInterval(seconds));
        m_harness.application().becomeActive();
        m_harness.runUntilIdle();
        m_harness.advance(1.0);
    }
    // Five more uses, the last five days after the first use of the version.
    void useUntilDue() {
        for (int use = 0; use < 4; ++use) {
            returnAfter(60.0);
        }
        returnAfter(5 * ratingTestDay);
    }
    std::shared_ptr<AlertView> shownAlert() const {
        const auto alerts = AlertView::queuedAlerts();
        return !alerts.empty() && alerts.front()->isVisible() ? alerts.front() : nullptr;
    }
    void choose(RatingPrompt::Choice choice) {
        const std::shared_ptr<AlertView> alert = shownAlert();
        ASSERT_TRUE(alert);
        const Button& button = *alert->buttons().at(static_cast<size_t>(choice));
        const Point centre = button.convertPointToView(
            Point(button.bounds().width() / 2, button.bounds().height() / 2), m_window.get());
        m_window->fingerDown(0, centre);
        m_harness.advance(0.05);
        m_window->fingerUp(0, centre);
        m_harness.runUntilIdle();
        m_harness.advance(1.0);
    }
    static UserDefaults& defaults() { return UserDefaults::standardUserDefaults(); }

    ScreenHarness m_harness;
    std::shared_ptr<FakeReachability> m_reachability = std::make_shared<FakeReachability>();
    std::shared_ptr<ReviewPageRecorder> m_reviewPages = std::make_shared<ReviewPageRecorder>();
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    // The alert shows over the week screen, as after a launch.
    OrvellaAppDelegate m_delegate{m_window,
                                  std::make_shared<NavigationController>(WeekScrollViewController::create())};
};

TEST_F(RatingPromptTest, TheFirstLaunchStartsTheRecordWithoutAsking) {
    EXPECT_EQ(defaults().stringForKey("kRatingPromptCurrentVersion"), "2.0");
    EXPECT_EQ(defaults().doubleForKey("kRatingPromptFirstUseDate"),
              m_harness.loop().now().timeIntervalSince1970());
    EXPECT_EQ(defaults().integerForKey("kRatingPromptUseCount"), 1);
    EXPECT_FALSE(shownAlert());
}

TEST_F(RatingPromptTest, TheSixthUseFiveDaysLaterAsksOnlyWithANetwork) {
    m_reachability->setStatus(Reachability::Status::NotReachable);
    useUntilDue();
    EXPECT_EQ(defaults().integerForKey("kRatingPromptUseCount"), 6);
    EXPECT_FALSE(shownAlert());

    m_reachability->setStatus(Reachability::Status::Unknown);
    returnAfter(60.0);
    EXPECT_FALSE(shownAlert());

    m_reachability->setStatus(Reachability::Status::Reachable);
    returnAfter(60.0);
    const std::shared_ptr<AlertView> alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Rate Orvella");
    EXPECT_TRUE(alert->message().startsWith("If you enjoy using Orvella, would you mind"));
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "No, Thanks");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Rate Orvella");
    EXPECT_EQ(alert->buttonTitleAtIndex(2), "Remind me later");
    SamplePictures::keep(m_window->renderToImage(Screen::main().scale()), "rating-alert.png");

    choose(RatingPrompt::Choice::Rate);
    EXPECT_EQ(m_reviewPages->opened, QStringList{"https://orvella.example/review?id=12345"});
    returnAfter(2 * ratingTestDay);
    EXPECT_FALSE(shownAlert()) << "rated";
}

TEST_F(RatingPromptTest, RemindMeLaterWaitsADay) {
    useUntilDue();
    choose(RatingPrompt::Choice::RemindMeLater);
    EXPECT_FALSE(shownAlert());
    returnAfter(ratingTestDay - 60.0);
    EXPECT_FALSE(shownAlert()) << "within the day";
    returnAfter(60.0);
    EXPECT_TRUE(shownAlert()) << "a day later";
    EXPECT_TRUE(m_reviewPages->opened.isEmpty());
}

TEST_F(RatingPromptTest, NoThanksHoldsForTheMinorVersion) {
    useUntilDue();
    choose(RatingPrompt::Choice::NoThanks);
    returnAfter(10 * ratingTestDay);
    EXPECT_FALSE(shownAlert());

    runVersion("2.0.1");
    useUntilDue();
    EXPECT_FALSE(shownAlert()) << "a bug-fix release keeps the answer";
    EXPECT_EQ(defaults().stringForKey("kRatingPromptCurrentVersion"), "2.0");

    runVersion("2.1");
    returnAfter(60.0);
    EXPECT_EQ(defaults().stringForKey("kRatingPromptCurrentVersion"), "2.1");
    EXPECT_EQ(defaults().integerForKey("kRatingPromptUseCount"), 1);
    EXPECT_FALSE(shownAlert());
    useUntilDue();
    EXPECT_TRUE(shownAlert()) << "a new minor version asks again";
}

TEST_F(RatingPromptTest, AnAlertOnScreenAtResignationGoesWithoutARecord) {
    useUntilDue();
    ASSERT_TRUE(shownAlert());
    m_harness.application().resignActive();
    m_harness.advance(1.0);
    EXPECT_FALSE(shownAlert());
    EXPECT_TRUE(AlertView::queuedAlerts().empty());
    EXPECT_FALSE(defaults().boolForKey("kRatingPromptDeclinedToRate").value_or(false));
    EXPECT_FALSE(defaults().boolForKey("kRatingPromptRatedCurrentVersion").value_or(false));
    EXPECT_EQ(defaults().doubleForKey("kRatingPromptReminderRequestDate").value_or(0.0), 0.0);
    EXPECT_TRUE(m_reviewPages->opened.isEmpty());
}

} // namespace
