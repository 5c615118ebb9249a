#include "QtPrinters.h"
#include "WeekScreenTestSupport.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/ListEventsEvent.h"
#include "core/hints/Hint.h"
#include "kit/BarButtonItem.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/NavigationBar.h"
#include "kit/Screen.h"
#include "kit/Window.h"
#include "ui/calendars/VisibleCalendarsViewController.h"
#include "ui/daylist/ListEventsViewController.h"
#include "ui/settings/SettingsViewController.h"
#include "ui/week/DayViewController.h"
#include "ui/week/GlobalActionsListView.h"
#include "ui/weekpicker/WeekPickerController.h"

#include <gtest/gtest.h>

namespace {

QString menuFrameText(const View& view) {
    const Rect frame = view.frame();
    return QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
}

// The layout of a menu: its frame, then each button's title and frame.
QStringList menuLayout(const GlobalActionsListView& menu) {
    QStringList layout{menuFrameText(menu)};
    for (const auto& button : menu.buttons()) {
        layout.append(button->titleForState(ControlState::Normal) + " " + menuFrameText(*button));
    }
    return layout;
}

class ActionsMenuTest : public testing::Test {
protected:
    void SetUp() override { week.launch(); }
    void TearDown() override { InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Unknown); }

    std::shared_ptr<GlobalActionsListView> openMenu() {
        week.tapView(*week.screen->actionButton()->view());
        return InterfaceOrientation::isLandscape() ? week.screen->landscapeMenuView()
                                                   : week.screen->portraitMenuView();
    }
    static bool onScreen(const GlobalActionsListView& menu) { return menu.superview() && !menu.hidden(); }

    WeekScreen week;
};

TEST_F(ActionsMenuTest, PortraitHasFourButtonsAndLandscapeTwo) {
    const std::shared_ptr<GlobalActionsListView> portrait = openMenu();
    ASSERT_TRUE(portrait);
    EXPECT_TRUE(onScreen(*portrait));
    EXPECT_EQ(menuLayout(*portrait),
              (QStringList{"112,49 216x210.5", "Calendars 20,28 178x35", "Jump to Week 20,69 178x35",
                           "Search 20,110 178x35", "Settings 20,151 178x35"}));
    // Catcher and menu lie over the window's content, the menu in front.
    const std::shared_ptr<View> content = week.harness.window().subviews().front();
    ASSERT_GE(content->subviews().size(), 2u);
    EXPECT_EQ(content->subviews().back(), portrait);
    EXPECT_EQ(content->subviews().at(content->subviews().size() - 2), portrait->invisibleView());
    EXPECT_EQ(menuFrameText(*portrait->invisibleView()), "0,0 320x480");
    week.settle();
    SamplePictures::keep(week.harness.render(), "actions-menu.png");

    week.harness.tap(Point(40, 400));
    week.settle();
    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeLeft);
    const std::shared_ptr<GlobalActionsListView> landscape = openMenu();
    ASSERT_TRUE(landscape);
    EXPECT_NE(landscape, portrait);
    EXPECT_EQ(menuLayout(*landscape),
              (QStringList{"273,40 216x128.5", "Calendars 20,28 178x35", "Jump to Week 20,69 178x35"}));
    EXPECT_EQ(menuFrameText(*landscape->invisibleView()), "0,0 480x320");

    // On a screen of another scale the panel's bottom margin is a whole point.
    Screen::main().setScale(1.0);
    EXPECT_EQ(menuFrameText(*GlobalActionsListView::initForOrientation(false)), "112,49 216x211");
    Screen::main().setScale(2.0);
}

TEST_F(ActionsMenuTest, EachChoiceOpensItsScreenAndHidesTheMenu) {
    const auto choose = [&](GlobalActionsListView::Action action) {
        const std::shared_ptr<GlobalActionsListView> menu = openMenu();
        week.tapView(*menu->buttons().at(static_cast<size_t>(action)));
        EXPECT_FALSE(menu->superview()) << static_cast<int>(action);
        EXPECT_FALSE(menu->invisibleView()->superview());
        EXPECT_TRUE(menu->hidden());
        EXPECT_EQ(menu->alpha(), 1.0) << "ready to be shown again";
    };

    choose(GlobalActionsListView::Action::JumpToWeek);
    ASSERT_TRUE(week.screen->weekPickerController());
    EXPECT_TRUE(week.screen->weekPickerController()->visible());
    week.screen->handleWeekPickerCancelButton();
    week.settle();

    choose(GlobalActionsListView::Action::Search);
    week.settle();
    EXPECT_TRUE(week.screen->searchModeActivated());
    // Opened from the menu, search keeps its hint for when it closes.
    EXPECT_FALSE(Hint::hintByIdentifier(QStringLiteral("searchHint"))->invalid());
    // The settings close an open search first (the raised screen hides the menu's button, so the
    // choice is made directly, as a wider screen would offer it).
    week.screen->clickedButtonAtIndex(static_cast<int>(GlobalActionsListView::Action::Settings));
    week.settle();
    EXPECT_FALSE(week.screen->searchModeActivated());
    EXPECT_TRUE(week.screen->modalViewController());
    week.screen->dismissModalViewControllerAnimated(false);
    week.settle();

    choose(GlobalActionsListView::Action::Settings);
    const auto navigation =
        std::dynamic_pointer_cast<NavigationController>(week.screen->modalViewController());
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(std::dynamic_pointer_cast<SettingsViewController>(navigation->topViewController()));
    EXPECT_EQ(navigation->navigationBar()->barStyle(), NavigationBar::BarStyle::Default);
    week.screen->dismissModalViewControllerAnimated(false);

    choose(GlobalActionsListView::Action::Calendars);
    const auto calendars =
        std::dynamic_pointer_cast<NavigationController>(week.screen->modalViewController());
    ASSERT_TRUE(calendars);
    EXPECT_TRUE(std::dynamic_pointer_cast<VisibleCalendarsViewController>(calendars->topViewController()));
}

TEST_F(ActionsMenuTest, ATapOutsideClosesItWithoutAChoice) {
    const std::shared_ptr<GlobalActionsListView> menu = openMenu();
    week.harness.tap(Point(40, 300));
    week.harness.advance(GlobalActionsListView::fadeOutDuration / 2);
    EXPECT_GT(menu->presentationAlpha(), 0.0) << "fading out";
    EXPECT_LT(menu->presentationAlpha(), 1.0) << "fading out";
    EXPECT_TRUE(menu->superview());
    week.settle();
    EXPECT_FALSE(menu->superview());
    EXPECT_FALSE(week.screen->modalViewController());
    EXPECT_FALSE(week.screen->weekPickerController() && week.screen->weekPickerController()->visible());
    EXPECT_EQ(week.navigation->topViewController(), week.screen);

    // The same menu comes back at the next tap on the button.
    EXPECT_EQ(openMenu(), menu);
    EXPECT_TRUE(onScreen(*menu));
}

} // namespace

TEST_F(ActionsMenuTest, EscapeClosesWhatIsOnTopOneThingAtATime) {
    const auto escape = [this] {
        KeyInput input;
        input.key = Qt::Key_Escape;
        const bool used = week.harness.window().keyInput(input);
        week.settle();
        return used;
    };
    const std::shared_ptr<GlobalActionsListView> menu = openMenu();
    ASSERT_TRUE(onScreen(*menu));
    EXPECT_TRUE(escape());
    EXPECT_FALSE(onScreen(*menu));

    week.harness.tap(Point(160, 42));
    week.settle();
    ASSERT_TRUE(week.screen->weekPickerController() && week.screen->weekPickerController()->visible());
    EXPECT_TRUE(escape());
    EXPECT_FALSE(week.screen->weekPickerController()->visible());

    const std::shared_ptr<DayViewController> tuesday = week.screen->weekViews()[1]->dayViewControllers()[1];
    ApplicationEventDispatcher::sharedInstance().dispatch<ListEventsEvent>(tuesday->dayView(),
                                                                           tuesday->displayedDate());
    week.settle();
    ASSERT_TRUE(week.screen->listEventsViewController() &&
                week.screen->listEventsViewController()->visible());
    EXPECT_TRUE(escape());
    EXPECT_FALSE(week.screen->listEventsViewController() &&
                 week.screen->listEventsViewController()->visible());

    EXPECT_FALSE(escape()) << "nothing left to close";
}
