#include "ui/week/WeekScreenTestSupport.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/events/EventService.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/eventkit/EKEventViewController.h"
#include "ui/threeweeks/ThreeWeeksView.h"
#include "ui/week/DateTitleView.h"

namespace {

class WeekRotationTest : public testing::Test {
protected:
    void SetUp() override { week.launch(); }
    void TearDown() override {
        InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Portrait);
    }

    WeekScrollViewController& screen() { return *week.screen; }
    Window& window() { return week.harness.window(); }
    bool turn(int orientation) {
        const bool turned = window().rotateToOrientation(orientation);
        week.settle(1.0);
        return turned;
    }
    void press(int key, int modifiers = 0) {
        KeyInput input;
        input.key = key;
        input.modifiers = modifiers;
        window().keyInput(input);
        week.settle(1.0);
    }
    int titleWeek() { return Week::currentWeek().weeksTo(screen().dateTitleView()->week().value()); }

    // The orientation is process-wide: it is put back once the screen below is gone.
    struct OrientationReset {
        ~OrientationReset() { InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Unknown); }
    } orientationReset;
    WeekScreen week;
};

} // namespace

TEST_F(WeekRotationTest, theWeekShrinksIntoThreeWeeksAndComesBackOnTheWeekChosenThere) {
    const Rect portraitFrame = screen().scrollView()->frame();
    ASSERT_TRUE(window().rotateToOrientation(InterfaceOrientation::LandscapeLeft));
    // The pages shrink into the middle week while they fade.
    ASSERT_TRUE(screen().threeWeeksView());
    const Rect shrunk = screen().scrollView()->frame();
    EXPECT_NEAR(shrunk.x(), 161, 1e-9);
    EXPECT_NEAR(shrunk.y(), 31, 1e-9);
    EXPECT_NEAR(shrunk.width(), 159, 1e-9);
    EXPECT_NEAR(shrunk.height(), 236, 1e-9);
    EXPECT_EQ(screen().scrollView()->alpha(), 0.0);
    EXPECT_FALSE(screen().threeWeeksView()->hidden());
    EXPECT_TRUE(screen().dateTitleView()->landscape());
    week.harness.advance(0.15);
    SamplePictures::keep(week.harness.render(), "rotation-midway.png");
    week.settle(1.0);
    EXPECT_TRUE(screen().scrollView()->hidden());
    EXPECT_EQ(InterfaceOrientation::interfaceOrientation(), InterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(screen().threeWeeksView()->frame(), Rect(0, 0, 480, 268));

    screen().threeWeeksView()->scrollToWeek(Week::currentWeek().addWeeks(2), true);
    week.settle();
    EXPECT_EQ(titleWeek(), 2);
    EXPECT_EQ(Week::currentWeek().weeksTo(screen().currentWeek()), 2);

    ASSERT_TRUE(turn(InterfaceOrientation::Portrait));
    EXPECT_EQ(screen().scrollView()->frame(), portraitFrame);
    EXPECT_EQ(screen().scrollView()->alpha(), 1.0);
    EXPECT_FALSE(screen().scrollView()->hidden());
    EXPECT_TRUE(screen().threeWeeksView()->hidden());
    EXPECT_FALSE(screen().dateTitleView()->landscape());
    week.settle();
    std::vector<int> pages;
    for (const Week& shown : week.pageWeeks()) {
        pages.push_back(Week::currentWeek().weeksTo(shown));
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(titleWeek(), 2);
}

TEST_F(WeekRotationTest, searchCopyMoveAndSettingsHoldTheScreenUprightAndItIsNeverUpsideDown) {
    EXPECT_FALSE(screen().shouldAutorotateToInterfaceOrientation(InterfaceOrientation::PortraitUpsideDown));
    EXPECT_TRUE(screen().shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));

    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(screen().searchModeActivated());
    EXPECT_FALSE(turn(InterfaceOrientation::LandscapeLeft));
    press(Qt::Key_Escape);
    ASSERT_FALSE(screen().searchModeActivated());

    const auto event =
        week.addEvent("Standup", WeekScreen::at(2026, 12, 8, 9), WeekScreen::at(2026, 12, 8, 10));
    week.settle();
    ApplicationEventDispatcher::sharedInstance().dispatch<ActivateCopyMoveEvent>(
        event, WeekScreen::at(2026, 12, 8), false);
    week.settle();
    EXPECT_FALSE(turn(InterfaceOrientation::LandscapeLeft));
    screen().cancelCopyMoveEvent();
    week.settle();

    screen().clickedButtonAtIndex(3); // Settings
    week.settle();
    EXPECT_FALSE(turn(InterfaceOrientation::LandscapeLeft));
    screen().dismissModalViewControllerAnimated(false);
    week.settle();

    // The calendars screen turns as the week screen does, which turns beneath it, and opened
    // in landscape it stays so.
    screen().clickedButtonAtIndex(0);
    week.settle();
    EXPECT_TRUE(turn(InterfaceOrientation::LandscapeLeft));
    ASSERT_TRUE(screen().threeWeeksView());
    EXPECT_FALSE(screen().threeWeeksView()->hidden());
    EXPECT_TRUE(screen().scrollView()->hidden());
    screen().dismissModalViewControllerAnimated(false);
    week.settle();
    screen().clickedButtonAtIndex(0);
    week.settle();
    EXPECT_EQ(window().orientation(), InterfaceOrientation::LandscapeLeft);
}

TEST_F(WeekRotationTest, aScreenPushedInLandscapeIsUprightAndTheThreeWeeksReturnAfterIt) {
    week.addBirthday("Anna Berger", "1990-12-09");
    ASSERT_TRUE(turn(InterfaceOrientation::LandscapeRight));

    press(Qt::Key_N);
    ASSERT_TRUE(std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController()));
    EXPECT_EQ(window().orientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(window().deviceOrientation(), InterfaceOrientation::LandscapeRight);
    week.navigation->popViewControllerAnimated(false);
    week.settle();
    EXPECT_EQ(window().orientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_FALSE(screen().threeWeeksView()->hidden());

    const EventList events = week.harness.eventService().findEventsInWeek(Week::currentWeek());
    ASSERT_EQ(events.size(), 1);
    ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
        events.array()[0], WeekScreen::at(2026, 12, 9), nullptr);
    week.settle();
    ASSERT_TRUE(std::dynamic_pointer_cast<EKEventViewController>(week.navigation->topViewController()));
    EXPECT_EQ(window().orientation(), InterfaceOrientation::Portrait);
    week.navigation->popViewControllerAnimated(true);
    week.settle();
    EXPECT_EQ(window().orientation(), InterfaceOrientation::LandscapeRight);
}
