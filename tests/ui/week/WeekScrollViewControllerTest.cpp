#include "ui/week/WeekScreenTestSupport.h"

#include "app/OrvellaApp.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/WeekendDaysChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/hints/Hint.h"
#include "core/settings/AppSettings.h"
#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"
#include "kit/ActionSheet.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/ImageView.h"
#include "kit/KeyInput.h"
#include "kit/LoadingIndicator.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"
#include "ui/daybox/EventView.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/eventkit/EKEventViewController.h"
#include "ui/week/DateTitleView.h"
#include "ui/week/DayViewController.h"
#include "ui/weekpicker/WeekPickerController.h"

#include <algorithm>
#include <functional>
#include <string>

namespace {

// Weeks as their distance from the current week, such as "-1 0 1".
std::string relative(const std::vector<Week>& weeks) {
    std::string text;
    for (const Week& week : weeks) {
        if (!text.empty()) {
            text += " ";
        }
        text += std::to_string(Week::currentWeek().weeksTo(week));
    }
    return text;
}

int relative(const Week& week) {
    return Week::currentWeek().weeksTo(week);
}

class WeekScrollViewControllerTest : public testing::Test {
protected:
    void SetUp() override { week.launch(); }

    WeekScrollViewController& screen() { return *week.screen; }
    int titleWeek() { return relative(screen().dateTitleView()->week().value()); }
    bool todayEnabled() { return screen().todayButton()->enabled(); }
    std::shared_ptr<Hint> weekPickerHint() { return Hint::hintByIdentifier("jumpToDateHint"); }

    // A key typed on the window; whether a screen used it.
    bool press(int key, int modifiers = 0) {
        KeyInput input;
        input.key = key;
        input.modifiers = modifiers;
        const bool used = week.harness.window().keyInput(input);
        week.settle();
        return used;
    }

    // Full-page drags: to the left shows the next week, to the right the previous one.
    void pageForward() {
        week.dragAcross(280, 40);
        week.settle();
    }
    void pageBackward() {
        week.dragAcross(40, 280);
        week.settle();
    }

    WeekScreen week;
};

} // namespace

TEST_F(WeekScrollViewControllerTest, launchShowsTheCurrentWeekBetweenItsNeighbours) {
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
    EXPECT_EQ(relative(screen().currentWeek()), 0);
    EXPECT_EQ(titleWeek(), 0);
    EXPECT_FALSE(todayEnabled());
    EXPECT_TRUE(screen().firstWeekLoaded());
    EXPECT_DOUBLE_EQ(screen().loadingIndicator()->alpha(), 0.0);
    // Three pages at positions 99, 100 and 101 of 201, showing the middle one.
    const ScrollView& scroll = *screen().scrollView();
    EXPECT_DOUBLE_EQ(scroll.contentSize().width(), 201 * 320.0);
    EXPECT_DOUBLE_EQ(scroll.contentOffset().x(), 100 * 320.0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(screen().weekViews()[i]->view()->frame().x(), (99.0 + double(i)) * 320.0);
    }
    // The displayed week is read first, then its neighbours.
    EXPECT_EQ(relative(week.screen->reads->weeks()), "0 -1 1");
}

TEST_F(WeekScrollViewControllerTest, pagesHoldTheNeighboursOfTheDisplayedWeekAfterEveryDrag) {
    pageForward();
    EXPECT_EQ(relative(week.pageWeeks()), "0 1 2");
    EXPECT_EQ(titleWeek(), 1);
    EXPECT_TRUE(todayEnabled());
    pageForward();
    EXPECT_EQ(relative(week.pageWeeks()), "1 2 3");
    pageBackward();
    pageBackward();
    pageBackward();
    EXPECT_EQ(relative(week.pageWeeks()), "-2 -1 0");
    EXPECT_EQ(titleWeek(), -1);
    // Every settle puts the pages back at 99 to 101 and shows 100.
    EXPECT_DOUBLE_EQ(screen().scrollView()->contentOffset().x(), 100 * 320.0);
    EXPECT_DOUBLE_EQ(screen().weekViews()[0]->view()->frame().x(), 99 * 320.0);
    // A drag that does not reach half a page springs back to the same week.
    week.dragAcross(200, 150);
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-2 -1 0");
    EXPECT_TRUE(screen().weekViews()[1]->view()->userInteractionEnabled());
}

TEST_F(WeekScrollViewControllerTest, todayButtonFollowsTheFingerDuringADrag) {
    week.dragAcross(300, 100, false);
    EXPECT_EQ(titleWeek(), 1);
    EXPECT_TRUE(todayEnabled());
    week.harness.touchMove(Point(260, 250));
    EXPECT_EQ(titleWeek(), 0);
    EXPECT_FALSE(todayEnabled());
    week.harness.touchUp(Point(260, 250));
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
}

TEST_F(WeekScrollViewControllerTest, jumpOfFiveWeeksReadsOnlyTheTargetWeekWhileItAnimates) {
    week.screen->reads->clear();
    const Week target = Week::currentWeek().addWeeks(5);
    screen().scrollToWeek(target, true, true);
    week.harness.runUntilIdle();
    EXPECT_EQ(relative(week.screen->reads->weeks()), "5");
    ASSERT_TRUE(screen().fuzzyTransitionView());
    EXPECT_FALSE(screen().fuzzyTransitionView()->hidden());
    for (int step = 0; step < 4; ++step) {
        week.harness.advance(0.05);
        for (const Week& shown : week.pageWeeks()) {
            const int distance = relative(shown);
            EXPECT_TRUE(distance == -1 || distance == 0 || distance == 5) << distance;
        }
    }
    EXPECT_EQ(relative(week.screen->reads->weeks()), "5");
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "4 5 6");
    EXPECT_EQ(titleWeek(), 5);
    EXPECT_FALSE(screen().targetWeek());
    EXPECT_TRUE(screen().fuzzyTransitionView()->hidden());
    for (const auto& page : screen().weekViews()) {
        EXPECT_FALSE(page->view()->hidden());
    }
    // No week between the two was ever read.
    for (const Week& read : week.screen->reads->weeks()) {
        EXPECT_GE(relative(read), 4);
    }
    // And back again with "Today".
    screen().scrollToToday();
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
    EXPECT_FALSE(todayEnabled());
}

TEST_F(WeekScrollViewControllerTest, farJumpReadsItsTargetWeekOnce) {
    screen().scrollToWeek(Week::currentWeek().addWeeks(-30), false, true);
    week.settle();
    // "Today" from far away, over the blurred page: the page that read the current week when the
    // jump started keeps it when the pages settle, and only its new neighbours are read.
    week.screen->reads->clear();
    screen().scrollToToday();
    week.settle();
    EXPECT_EQ(relative(week.screen->reads->weeks()), "0 -1 1");
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");

    // The same when the pages settle while the target week is still being read.
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    week.screen->reads->clear();
    week.screen->reads->hold();
    screen().scrollToWeek(Week::currentWeek().addWeeks(20), false, true);
    week.harness.runUntilIdle();
    EXPECT_EQ(relative(screen().currentWeek()), 20);
    week.screen->reads->letGo();
    DispatchQueue::global().waitUntilIdle();
    week.harness.runUntilIdle();
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    std::vector<Week> reads = week.screen->reads->weeks();
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(relative(reads.front()), 20);
    // The neighbours are read side by side, in either order.
    std::sort(reads.begin() + 1, reads.end());
    EXPECT_EQ(relative(reads), "20 19 21");
    EXPECT_EQ(relative(week.pageWeeks()), "19 20 21");
}

TEST_F(WeekScrollViewControllerTest, jumpsOfOneWeekAndToTheShownWeek) {
    screen().scrollToWeek(Week::currentWeek().addWeeks(-1), false, true);
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-2 -1 0");
    week.screen->reads->clear();
    screen().scrollToWeek(Week::currentWeek().addWeeks(-1), false, true);
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-2 -1 0");
    EXPECT_TRUE(week.screen->reads->weeks().empty());
    // A far jump without animation lands at once.
    screen().scrollToWeek(Week::currentWeek().addWeeks(-30), false, true);
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-31 -30 -29");
}

TEST_F(WeekScrollViewControllerTest, weekPickerHintOnEveryThirdSettleInOneDirection) {
    const auto triggers = [this] { return weekPickerHint()->triggerCount(); };
    const int start = triggers();
    pageForward();
    pageForward();
    EXPECT_EQ(triggers(), start);
    pageForward();
    EXPECT_EQ(screen().sameDirectionCount(), 3);
    EXPECT_EQ(triggers(), start + 1);
    // Turning round starts the count again at 1.
    pageBackward();
    EXPECT_EQ(screen().sameDirectionCount(), 1);
    EXPECT_EQ(screen().lastDirection(), 1);
    EXPECT_EQ(triggers(), start + 1);
}

TEST_F(WeekScrollViewControllerTest, settlingBackOnTheSameWeekWithNoCountTriggersTheHint) {
    const int start = weekPickerHint()->triggerCount();
    week.dragAcross(200, 160);
    week.settle();
    EXPECT_EQ(screen().sameDirectionCount(), 0);
    EXPECT_EQ(weekPickerHint()->triggerCount(), start + 1);
}

TEST_F(WeekScrollViewControllerTest, activationAfterTheResetTimeReturnsToTheCurrentWeek) {
    AppSettings::instance().storeJumpToTodayAfterSeconds(900);
    pageForward();
    week.harness.application().resignActive();
    week.harness.advance(899);
    week.harness.application().becomeActive();
    week.settle();
    EXPECT_EQ(titleWeek(), 1);

    const auto readOnly = std::make_shared<EKEventViewController>();
    week.navigation->pushViewController(readOnly, false);
    week.harness.application().resignActive();
    week.harness.advance(901);
    week.harness.application().becomeActive();
    week.settle();
    EXPECT_EQ(titleWeek(), 0);
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
    EXPECT_EQ(week.navigation->topViewController(), week.screen);
}

TEST_F(WeekScrollViewControllerTest, readOnlyEventOpensTheViewerAndWritableOneTheEditor) {
    const auto writable =
        week.addEvent("Standup", WeekScreen::at(2026, 12, 8, 9), WeekScreen::at(2026, 12, 8, 10));
    ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
        writable, WeekScreen::at(2026, 12, 8), nullptr);
    week.settle();
    const auto editor =
        std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->event()->isEqual(*writable));
    EXPECT_TRUE(editor->editMode());
    week.navigation->popViewControllerAnimated(false);
    week.settle();

    week.addBirthday("Anna Berger", "1990-12-09");
    const EventList birthdays = week.harness.eventService().findEventsInWeek(Week::currentWeek());
    ASSERT_EQ(birthdays.size(), 2);
    const auto birthday =
        birthdays.array()[1]->title() == "Standup" ? birthdays.array()[0] : birthdays.array()[1];
    ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
        birthday, WeekScreen::at(2026, 12, 9), nullptr);
    week.settle();
    const auto viewer =
        std::dynamic_pointer_cast<EKEventViewController>(week.navigation->topViewController());
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->event(), birthday);
    // A second tap while the viewer is on top does not stack another one.
    ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
        birthday, WeekScreen::at(2026, 12, 9), nullptr);
    week.settle();
    EXPECT_EQ(week.navigation->viewControllers().size(), 2u);
}

TEST(WeekScreenTapTest, tappedBirthdayRowOpensTheViewerAndADayTapTheEditorForNoon) {
    WeekScreen week;
    week.addBirthday("Anna Berger", "1990-12-13");
    week.launch();
    // Sunday shares the bottom-right slot; its first row sits 23 points below the box's top.
    week.harness.tap(Point(240, 64 + 347 + 23 + 10));
    week.settle();
    const auto viewer =
        std::dynamic_pointer_cast<EKEventViewController>(week.navigation->topViewController());
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->event()->title(), "Anna Berger");
    EXPECT_FALSE(viewer->allowsEditing());
    week.navigation->popViewControllerAnimated(false);
    week.settle();
    // Tapping an empty part of Monday opens the editor for a new event at 12:00 of that day.
    week.harness.tap(Point(80, 64 + 100));
    week.settle();
    const auto editor =
        std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->editMode());
    EXPECT_EQ(editor->event()->startDate(), WeekScreen::at(2026, 12, 7, 12));
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
}

TEST_F(WeekScrollViewControllerTest, savesAndDeletionsReachThePages) {
    const auto event =
        week.addEvent("Review", WeekScreen::at(2026, 12, 9, 14), WeekScreen::at(2026, 12, 9, 15));
    screen().eventSaved(event, true, false, false);
    week.settle();
    const auto& wednesday = screen().weekViews()[1]->dayViewControllers()[2];
    EXPECT_TRUE(wednesday->displayedEvents().contains(*event));

    screen().updateWeekViewForDeletedEvent(event->eventIdentifier(), false, false);
    week.settle();
    EXPECT_FALSE(wednesday->displayedEvents().contains(*event));

    // A change of a whole series makes every page read its week again.
    week.screen->reads->clear();
    screen().eventSaved(event, false, true, false);
    week.settle();
    EXPECT_EQ(week.screen->reads->weeks().size(), 3u);
}

TEST_F(WeekScrollViewControllerTest, timeZoneAndWeekendDayChangesReturnToTheCurrentWeek) {
    pageForward();
    ApplicationEventDispatcher::sharedInstance().dispatch<TimeZoneChangedEvent>();
    week.settle();
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
    EXPECT_FALSE(todayEnabled());

    pageBackward();
    // Friday and Saturday as the weekend: the week starts on Sunday, and the shared box holds
    // Friday and Saturday.
    AppSettings::instance().storeWeekendDays(1);
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekendDaysChangedEvent>();
    week.settle();
    EXPECT_EQ(titleWeek(), 0);
    const auto& days = screen().weekViews()[1]->dayViewControllers();
    EXPECT_EQ(DateUtilities::weekday(days[0]->displayedDate()), 1);
    EXPECT_EQ(DateUtilities::weekday(days[5]->displayedDate()), 6);
    EXPECT_EQ(DateUtilities::weekday(days[6]->displayedDate()), 7);
    EXPECT_TRUE(days[5]->halfSized());
    AppSettings::instance().storeWeekendDays(2);
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekendDaysChangedEvent>();
    week.settle();
}

TEST_F(WeekScrollViewControllerTest, titleLeavesRoomForTheLeftButton) {
    // "Today" measures 35 points in the bold system font of size 12: 55 for the button.
    EXPECT_DOUBLE_EQ(screen().dateTitleView()->frame().width(), 251.0 - 55.0);
}

TEST_F(WeekScrollViewControllerTest, todayDuringAGlideLandsOnTheCurrentWeek) {
    for (int round = 0; round < 3; ++round) {
        for (int flick = 0; flick < 8; ++flick) {
            week.harness.drag(Point(300, 250), Point(60, 250), 0.04, 4);
            week.harness.advance(0.03);
        }
        ASSERT_TRUE(screen().scrollView()->isDecelerating());
        week.tapView(*screen().todayButton()->view());
        EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1") << "round " << round;
        EXPECT_EQ(titleWeek(), 0);
        EXPECT_FALSE(todayEnabled());
        EXPECT_TRUE(screen().weekViews()[1]->view()->userInteractionEnabled());
    }
}

TEST_F(WeekScrollViewControllerTest, keysPageTheWeekReturnToTodayAndAddAnEvent) {
    EXPECT_TRUE(press(Qt::Key_Right));
    EXPECT_EQ(relative(week.pageWeeks()), "0 1 2");
    EXPECT_TRUE(press(Qt::Key_PageDown));
    EXPECT_EQ(titleWeek(), 2);
    EXPECT_TRUE(press(Qt::Key_Left));
    EXPECT_TRUE(press(Qt::Key_PageUp));
    EXPECT_TRUE(press(Qt::Key_PageUp));
    EXPECT_EQ(relative(week.pageWeeks()), "-2 -1 0");
    EXPECT_TRUE(press(Qt::Key_T));
    EXPECT_EQ(relative(week.pageWeeks()), "-1 0 1");
    press(Qt::Key_Right);
    EXPECT_TRUE(press(Qt::Key_Home));
    EXPECT_EQ(titleWeek(), 0);
    EXPECT_FALSE(todayEnabled());
    // A shortcut of the desktop is not a paging key.
    EXPECT_FALSE(press(Qt::Key_Right, Qt::ControlModifier));
    EXPECT_EQ(titleWeek(), 0);
    // With the week picker open the week does not move.
    week.harness.tap(Point(160, 42));
    week.settle();
    ASSERT_TRUE(screen().weekPickerController() && screen().weekPickerController()->visible());
    EXPECT_FALSE(press(Qt::Key_Right));
    EXPECT_TRUE(press(Qt::Key_Escape));
    // N opens the editor on a new event today.
    EXPECT_TRUE(press(Qt::Key_N));
    const auto editor =
        std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->editMode());
    EXPECT_EQ(DateUtilities::day(editor->event()->startDate()), DateUtilities::day(RunLoop::main().now()));
}

TEST_F(WeekScrollViewControllerTest, altArrowsSelectARowThatReturnOpensDeleteRemovesAndControlZBringsBack) {
    week.addEvent("Standup", WeekScreen::at(2026, 12, 7, 9), WeekScreen::at(2026, 12, 7, 10));
    week.addEvent("Review", WeekScreen::at(2026, 12, 7, 11), WeekScreen::at(2026, 12, 7, 12));
    week.settle();
    const auto mondayTitles = [this] {
        const EventList events = week.harness.eventService().findEventsInWeek(Week::currentWeek());
        QStringList titles;
        for (const auto& event : events.array()) {
            titles.append(event->title());
        }
        titles.sort();
        return titles;
    };
    // Today (Tuesday, no events) first, then up the left column to Monday's last row.
    EXPECT_TRUE(press(Qt::Key_Down, Qt::AltModifier));
    EXPECT_TRUE(press(Qt::Key_Up, Qt::AltModifier));
    EXPECT_TRUE(press(Qt::Key_Return));
    const auto editor =
        std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->event()->title(), "Review");
    week.navigation->popViewControllerAnimated(false);
    week.settle();

    EXPECT_TRUE(press(Qt::Key_Up, Qt::AltModifier));
    EXPECT_TRUE(press(Qt::Key_Delete));
    std::shared_ptr<ActionSheet> sheet;
    std::function<void(const std::shared_ptr<View>&)> find = [&](const std::shared_ptr<View>& view) {
        if (auto found = std::dynamic_pointer_cast<ActionSheet>(view)) {
            sheet = found;
        }
        for (const auto& subview : view->subviews()) {
            find(subview);
        }
    };
    find(std::static_pointer_cast<View>(week.harness.window().shared_from_this()));
    ASSERT_TRUE(sheet);
    const Button& deleteButton = *sheet->buttons().front();
    week.harness.tap(deleteButton.convertPointToView(
        Point(deleteButton.bounds().width() / 2, deleteButton.bounds().height() / 2),
        &week.harness.window()));
    week.settle();
    EXPECT_EQ(mondayTitles(), QStringList{"Review"});

    EXPECT_TRUE(press(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(mondayTitles(), (QStringList{"Review", "Standup"}));
    // The page shows it again at once.
    const auto& monday = screen().weekViews()[1]->dayViewControllers()[0];
    EXPECT_EQ(std::count_if(monday->eventViews().begin(), monday->eventViews().end(),
                            [](const auto& row) { return row->event() && !row->hidden(); }),
              2);
    EXPECT_FALSE(press(Qt::Key_Z, Qt::ControlModifier));
}
