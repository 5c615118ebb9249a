#include "ui/editor/EditorTestSupport.h"

#include "QtPrinters.h"

#include "app/OrvellaApp.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/Day.h"
#include "foundation/RunLoop.h"
#include "kit/ImageView.h"
#include "kit/MenuController.h"
#include "kit/NavigationItem.h"
#include "kit/ScrollView.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/CopyMoveMenu.h"
#include "ui/copymove/MoveEventBarView.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventView.h"
#include "ui/eventkit/EventDateText.h"
#include "ui/week/DayOverlayView.h"

#include <algorithm>

namespace {

// What a second store on the same file sees from 30 November to 1 January, as
// "title day.month hh:mm-hh:mm", sorted by start.
std::string storeSeenFromOutside(const QString& databasePath) {
    EKEventStore other(databasePath);
    auto events = other.eventsMatchingPredicate(other.predicateForEvents(
        WeekScreen::at(2026, 11, 30), WeekScreen::at(2027, 1, 1), other.calendars()));
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a->startDate() < b->startDate(); });
    QStringList lines;
    for (const auto& event : events) {
        const Day day = DateUtilities::day(event->startDate());
        lines.append(QStringLiteral("%1 %2.%3 %4-%5")
                         .arg(event->title())
                         .arg(day.dayNumber())
                         .arg(day.monthNumber())
                         .arg(EventDateText::format(event->startDate(), false).right(5))
                         .arg(EventDateText::format(event->endDate(), false).right(5)));
    }
    return lines.join(", ").toStdString();
}

class QuickCopyMoveTest : public testing::Test {
protected:
    void TearDown() override {
        MenuController::sharedMenuController().setMenuVisible(false);
        CopyMoveEventMode::sharedInstance().deactivate();
        CopyMoveEventMode::sharedInstance().setReturnWeek(std::nullopt);
    }

    std::string seen() { return storeSeenFromOutside(screen.harness.eventStore().databasePath()); }
    WeekScrollViewController& week() { return *screen.screen; }
    CopyMoveEventMode& mode() { return CopyMoveEventMode::sharedInstance(); }
    MoveEventBarView& bar() { return *week().moveEventBar(); }
    bool barShown() { return week().moveEventBar() && !bar().hidden() && bar().frame().y() == 0; }

    // The middle of a row of a day box of the week shown (0 = Monday .. 4 = Friday), as it stands
    // now (the boxes move down while the move bar shows).
    Point rowPoint(int weekday, int row) {
        const auto& day = week().weekViews()[1]->dayViewControllers()[static_cast<std::size_t>(weekday)];
        return day->dayView()->convertPointToView(Point(80, 24 + 22 * row + 11), nullptr);
    }
    Point headerPoint(int weekday) {
        const auto& day = week().weekViews()[1]->dayViewControllers()[static_cast<std::size_t>(weekday)];
        return day->dayView()->convertPointToView(Point(120, 10), nullptr);
    }

    void holdRow(int weekday, int row) {
        screen.harness.longPress(rowPoint(weekday, row), 1.2);
        screen.harness.runUntilIdle();
    }
    void choose(const QString& title) {
        MenuController& menu = MenuController::sharedMenuController();
        for (std::size_t i = 0; i < menu.menuItems().size(); ++i) {
            if (menu.menuItems()[i].title() == title) {
                screen.harness.tap(menu.itemFrames()[i].center());
                screen.settle();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << title.toStdString();
    }
    // "Cancel" in the bar; the screen is not settled.
    void tapCancel() {
        View& button = *week().cancelMoveButton()->view();
        screen.harness.tap(button.convertRectToView(button.bounds(), nullptr).center());
    }
    void pageForward() {
        screen.dragAcross(280, 40);
        screen.settle();
    }
    // Titles of the events of a day of the week shown.
    QString dayTitles(int weekday) {
        QStringList titles;
        const auto& day = week().weekViews()[1]->dayViewControllers()[static_cast<std::size_t>(weekday)];
        for (const auto& event : day->displayedEvents().array()) {
            titles.append(event->title());
        }
        return titles.join(' ');
    }

    EditorScreen screen;
};

} // namespace

TEST_F(QuickCopyMoveTest, aQuickMoveByTouchesMovesTheRowsAtOnceAndSavesHalfASecondLater) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    const MenuController& menu = MenuController::sharedMenuController();
    ASSERT_TRUE(menu.isMenuVisible());
    EXPECT_EQ(menu.menuItems().size(), 3u);
    EXPECT_EQ(menu.menuItems()[0].title() + menu.menuItems()[1].title() + menu.menuItems()[2].title(),
              "CopyMoveDelete");
    screen.settle();
    SamplePictures::keep(screen.harness.render(), "copy-move-menu.png");

    choose("Move");
    EXPECT_TRUE(mode().quickMoveActivated());
    ASSERT_TRUE(barShown());
    EXPECT_EQ(bar().label()->text(), "Select a new date for the event");
    EXPECT_EQ(week().navigationItem()->leftBarButtonItem(), week().cancelMoveButton());
    EXPECT_FALSE(week().actionButton()->enabled());
    const auto& thursday = week().weekViews()[1]->dayViewControllers()[3];
    EXPECT_FALSE(thursday->dayOverlayView()->hidden());
    EXPECT_TRUE(thursday->dayOverlayView()->isAnimating());
    SamplePictures::keep(screen.harness.render(), "move-bar.png");

    pageForward();
    EXPECT_EQ(week().currentWeek(), Week::currentWeek().addWeeks(1));
    screen.harness.tap(rowPoint(4, 3));
    screen.harness.runUntilIdle();
    // The rows move first; the store follows half a second later.
    EXPECT_EQ(dayTitles(4), "Review");
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30");
    screen.harness.advance(0.5);
    screen.harness.runUntilIdle();
    EXPECT_EQ(seen(), "Review 18.12 10:00-11:30");
    screen.settle();
    EXPECT_FALSE(mode().activated());
    EXPECT_EQ(week().currentWeek(), Week::currentWeek().addWeeks(1));
    EXPECT_TRUE(bar().hidden());
    EXPECT_EQ(bar().frame().y(), -MoveEventBarView::barHeight);
    EXPECT_EQ(week().navigationItem()->leftBarButtonItem(), week().todayButton());
    EXPECT_TRUE(week().actionButton()->enabled());
    EXPECT_TRUE(thursday->dayOverlayView()->hidden());
    EXPECT_FALSE(thursday->dayOverlayView()->isAnimating());
}

TEST_F(QuickCopyMoveTest, aQuickMoveSurvivesQuittingWithinItsDelay) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    choose("Move");
    screen.harness.tap(rowPoint(4, 2));
    screen.harness.runUntilIdle();
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30");
    screen.harness.application().terminate();
    EXPECT_EQ(seen(), "Review 11.12 10:00-11:30");
    // The timer then has nothing left to write.
    screen.settle();
    EXPECT_EQ(seen(), "Review 11.12 10:00-11:30");
}

TEST_F(QuickCopyMoveTest, aRepeatingEventAsksForTheSpanThenSavesAtOnceAndReadsTheWeeksAgain) {
    screen.addWeeklyEvent("Swim", WeekScreen::at(2026, 12, 8, 18));
    screen.settle();
    holdRow(1, 0);
    choose("Move");
    screen.tapDay(3);
    const std::shared_ptr<ActionSheet> sheet = screen.shownSheet();
    ASSERT_TRUE(sheet);
    // Cancelling the choice leaves the mode on.
    screen.chooseInSheet(*sheet, "Cancel");
    EXPECT_TRUE(mode().quickMoveActivated());
    screen.tapDay(3);
    screen.screen->reads->clear();
    screen.chooseInSheet(*screen.shownSheet(), "Move this event only");
    EXPECT_EQ(seen(), "Swim 10.12 18:00-19:00, Swim 15.12 18:00-19:00, Swim 22.12 18:00-19:00, "
                      "Swim 29.12 18:00-19:00");
    std::vector<Week> reads = screen.screen->reads->weeks();
    std::sort(reads.begin(), reads.end(), [](const Week& a, const Week& b) { return a.isEarlierThan(b); });
    ASSERT_GE(reads.size(), 3u);
    EXPECT_EQ(reads.front(), Week::currentWeek().addWeeks(-1));
    EXPECT_EQ(reads.back(), Week::currentWeek().addWeeks(1));
    EXPECT_FALSE(mode().activated());
    EXPECT_EQ(dayTitles(3), "Swim");
    EXPECT_EQ(dayTitles(1), "");
    EXPECT_FALSE(barShown());
}

TEST_F(QuickCopyMoveTest, aCopyMakesASecondIdenticalEventOnTheSameDayOrAnotherWeek) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    choose("Copy");
    EXPECT_TRUE(mode().copyActivated());
    EXPECT_EQ(bar().label()->text(), "Select date to copy the event to");
    SamplePictures::keep(screen.harness.render(), "copy-bar.png");
    screen.tapDay(1);
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30, Review 8.12 10:00-11:30");
    EXPECT_EQ(dayTitles(1), "Review Review");

    holdRow(1, 1);
    choose("Copy");
    pageForward();
    screen.tapDay(0);
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30, Review 8.12 10:00-11:30, Review 14.12 10:00-11:30");
    EXPECT_EQ(dayTitles(0), "Review");
    screen.settle();
    EXPECT_FALSE(barShown());
}

TEST_F(QuickCopyMoveTest, cancellingOnAnotherWeekScrollsBackAndHidesTheBarWhenThatScrollSettles) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    choose("Move");
    pageForward();
    pageForward();
    tapCancel();
    EXPECT_FALSE(mode().activated());
    EXPECT_TRUE(barShown());
    EXPECT_EQ(week().navigationItem()->leftBarButtonItem(), week().todayButton());
    screen.settle();
    EXPECT_EQ(week().currentWeek(), Week::currentWeek());
    EXPECT_FALSE(barShown());
    EXPECT_FALSE(mode().returnWeek());
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30");

    // Tapping the event's own day cancels too, without a save.
    holdRow(1, 0);
    choose("Move");
    screen.tapDay(1);
    EXPECT_FALSE(mode().activated());
    screen.settle();
    EXPECT_FALSE(barShown());
    EXPECT_EQ(dayTitles(1), "Review");
}

TEST_F(QuickCopyMoveTest, cancellingAMoveFromTheEditorShowsTheEditorWithItsDateUnchanged) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    screen.harness.tap(rowPoint(1, 0));
    screen.settle();
    ASSERT_TRUE(screen.editorOnTop());
    screen.tapView(*screen.editor->moveButton());
    EXPECT_TRUE(mode().moveActivated());
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_TRUE(barShown());
    EXPECT_EQ(bar().label()->text(), "Select a new date for the event");
    pageForward();
    tapCancel();
    screen.settle();
    EXPECT_TRUE(screen.editorOnTop());
    EXPECT_FALSE(mode().activated());
    EXPECT_EQ(screen.editor->event()->startDate(), WeekScreen::at(2026, 12, 8, 10));
    EXPECT_FALSE(screen.editor->doneButtonItem()->enabled());
    EXPECT_EQ(week().currentWeek(), Week::currentWeek());
    EXPECT_FALSE(barShown());
}

TEST_F(QuickCopyMoveTest, activationCancelsAndALongPressDuringTheModeOpensNoMenu) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.addEvent("Lunch", WeekScreen::at(2026, 12, 9, 12), WeekScreen::at(2026, 12, 9, 13));
    screen.settle();
    holdRow(1, 0);
    choose("Copy");
    holdRow(2, 0);
    EXPECT_FALSE(MenuController::sharedMenuController().isMenuVisible());
    EXPECT_TRUE(mode().copyActivated());
    ApplicationEventDispatcher::sharedInstance().dispatch<ApplicationActivatedEvent>(RunLoop::main().now());
    screen.settle();
    EXPECT_FALSE(mode().activated());
    EXPECT_FALSE(barShown());
    EXPECT_EQ(seen(), "Review 8.12 10:00-11:30, Lunch 9.12 12:00-13:00");
}

TEST_F(QuickCopyMoveTest, duringTheModeARowOrHeaderTapPicksItsDay) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.addEvent("Lunch", WeekScreen::at(2026, 12, 9, 12), WeekScreen::at(2026, 12, 9, 13));
    screen.settle();
    holdRow(1, 0);
    choose("Move");
    screen.harness.tap(rowPoint(2, 0));
    screen.settle();
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_EQ(dayTitles(2), "Review Lunch");

    holdRow(2, 1);
    choose("Move");
    screen.harness.tap(headerPoint(4));
    screen.settle(3);
    EXPECT_EQ(dayTitles(4), "Lunch");
    EXPECT_EQ(seen(), "Review 9.12 10:00-11:30, Lunch 11.12 12:00-13:00");
    // The card is fully released after the touch that ended in its header.
    const auto& friday = week().weekViews()[1]->dayViewControllers()[4];
    EXPECT_TRUE(friday->dayView()->selectedHeaderImage()->hidden());
}

TEST_F(QuickCopyMoveTest, theMenuClosesOnATapBesideItAndDeletesAfterItsChoice) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    const auto& row = week().weekViews()[1]->dayViewControllers()[1]->eventViews()[0];
    EXPECT_TRUE(row->selected());
    // The tap lands on Thursday, which must not open a new event.
    screen.tapDay(3);
    EXPECT_FALSE(MenuController::sharedMenuController().isMenuVisible());
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_FALSE(row->selected());
    EXPECT_FALSE(CopyMoveMenu::instance().backgroundView());

    holdRow(1, 0);
    choose("Delete");
    ASSERT_TRUE(screen.shownSheet());
    EXPECT_TRUE(row->selected());
    screen.chooseInSheet(*screen.shownSheet(), "Delete Event");
    EXPECT_EQ(seen(), "");
    EXPECT_EQ(dayTitles(1), "");
}

TEST_F(QuickCopyMoveTest, aMoveFromTheEditorSavedForOneOccurrenceLeavesNoWeekToGoBackTo) {
    screen.addWeeklyEvent("Swim", WeekScreen::at(2026, 12, 8, 18));
    screen.settle();
    screen.harness.tap(rowPoint(1, 0));
    screen.settle();
    screen.tapView(*screen.editor->moveButton());
    pageForward();
    screen.tapDay(3);
    ASSERT_TRUE(screen.editorOnTop());
    screen.tapView(*screen.editor->doneButtonItem()->view());
    ASSERT_TRUE(screen.editor->saveChoice());
    screen.chooseInSheet(*screen.editor->saveChoice(), "Save for this event");
    EXPECT_EQ(seen(), "Swim 15.12 18:00-19:00, Swim 17.12 18:00-19:00, Swim 22.12 18:00-19:00, "
                      "Swim 29.12 18:00-19:00");
    // An event opened and left unsaved brings back the week shown, not the one the move began in.
    screen.harness.tap(rowPoint(3, 0));
    screen.settle();
    ASSERT_TRUE(screen.editorOnTop());
    screen.navigation->popViewControllerAnimated(true);
    screen.settle();
    EXPECT_EQ(week().currentWeek(), Week::currentWeek().addWeeks(1));
    // The move can be taken back, as a quick move can.
    ASSERT_TRUE(screen.harness.eventService().undoLastChange());
    EXPECT_EQ(seen(), "Swim 8.12 18:00-19:00, Swim 15.12 18:00-19:00, Swim 22.12 18:00-19:00, "
                      "Swim 29.12 18:00-19:00");
}

TEST_F(QuickCopyMoveTest, aStoreChangeWhileTheMoveWaitsLeavesTheRowsInTheirNewPlace) {
    screen.addEvent("Review", WeekScreen::at(2026, 12, 8, 10), WeekScreen::at(2026, 12, 8, 11, 30));
    screen.settle();
    holdRow(1, 0);
    choose("Move");
    screen.harness.tap(rowPoint(4, 2));
    screen.harness.runUntilIdle();
    // The pages read the store before the move is in it.
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    screen.harness.runUntilIdle();
    EXPECT_EQ(dayTitles(1), "Review");
    screen.settle();
    EXPECT_EQ(dayTitles(1), "");
    EXPECT_EQ(dayTitles(4), "Review");
    EXPECT_EQ(seen(), "Review 11.12 10:00-11:30");
}
