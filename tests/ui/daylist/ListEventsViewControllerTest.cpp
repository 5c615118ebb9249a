#include "ui/week/WeekScreenTestSupport.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/events/EventService.h"
#include "kit/Button.h"
#include "kit/InterfaceOrientation.h"
#include "kit/Label.h"
#include "kit/MenuController.h"
#include "kit/TableView.h"
#include "kit/Window.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/CopyMoveMenu.h"
#include "ui/daybox/DayView.h"
#include "ui/daylist/ListBoxView.h"
#include "ui/daylist/ListEventsViewCell.h"
#include "ui/daylist/ListEventsViewController.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/week/DayViewController.h"

namespace {

// The page's boxes in window points: the screen's view starts 64 points down, Monday's card at
// the top left, Tuesday's below it, Friday's in the middle of the right column.
const Point mondayBody(80, 64 + 60);
const Point tuesdayHeader(80, 64 + 138 + 10);
const Point fridayMoreButton(240, 64 + 138 + 124);

class ListEventsViewControllerTest : public testing::Test {
protected:
    void TearDown() override {
        CopyMoveEventMode::sharedInstance().deactivate();
        InterfaceOrientation::setInterfaceOrientation(m_previousOrientation);
    }

    const int m_previousOrientation = InterfaceOrientation::interfaceOrientation();

    // `count` hour-long events on that December day, from 8:00 on.
    void addEvents(int day, int count) {
        for (int i = 0; i < count; ++i) {
            week.addEvent(QString("E%1").arg(i + 1), WeekScreen::at(2026, 12, day, 8 + i),
                          WeekScreen::at(2026, 12, day, 9 + i));
        }
    }

    ListEventsViewController* list() { return week.screen->listEventsViewController().get(); }
    bool listVisible() { return list() && list()->visible(); }
    int listedDay() { return DateUtilities::day(list()->displayedDate()).dayNumber(); }
    TableView& table() { return *list()->tableView(); }
    std::shared_ptr<DayViewController> day(int index) {
        return week.screen->weekViews()[1]->dayViewControllers()[index];
    }

    void open(int dayIndex) {
        ApplicationEventDispatcher::sharedInstance().dispatch<ListEventsEvent>(
            day(dayIndex)->dayView(), day(dayIndex)->displayedDate());
        week.settle();
    }

    // A tap and hold on the row, then the menu's item (0 copy, 1 move, 2 delete).
    void chooseFromRowMenu(int row, std::size_t item) {
        week.harness.longPress(rowInWindow(row), 1.1);
        MenuController::sharedMenuController().menuItems().at(item).action()();
        MenuController::sharedMenuController().setMenuVisible(false);
        week.harness.runUntilIdle();
    }

    Point rowInWindow(int row) {
        const Rect rect = table().rectForRowAtIndexPath(IndexPath(row, 0));
        return table().convertPointToView(Point(rect.midX(), rect.midY()), nullptr);
    }
    Point centerInWindow(View& view) {
        return view.convertPointToView(Point(view.bounds().midX(), view.bounds().midY()), nullptr);
    }
    Color rowColor(int row) {
        return table().cellForRowAtIndexPath(IndexPath(row, 0))->backgroundView()->backgroundColor().value();
    }

    WeekScreen week;
};

} // namespace

TEST_F(ListEventsViewControllerTest, opensFromAPinchTheHeaderTheMoreButtonAndCtrlWheel) {
    addEvents(7, 1);
    addEvents(11, 6);
    week.launch();

    week.harness.pinch(mondayBody, 1.6, 40);
    week.settle();
    ASSERT_TRUE(listVisible());
    EXPECT_EQ(listedDay(), 7);
    EXPECT_EQ(list()->dayOfWeekHeaderLabel()->text(), "Monday");
    // Opening a list while one is open does nothing.
    open(1);
    EXPECT_EQ(listedDay(), 7);
    week.harness.tap(centerInWindow(*list()->closeButton()));
    week.settle();
    EXPECT_FALSE(listVisible());
    EXPECT_FALSE(list()->view()->superview());

    week.harness.tap(tuesdayHeader);
    week.settle();
    ASSERT_TRUE(listVisible());
    EXPECT_EQ(listedDay(), 8);
    // A touch inside the box keeps it; one on the dimmed area around it closes it.
    week.harness.tap(centerInWindow(*list()->dayOfWeekHeaderLabel()));
    week.settle();
    EXPECT_TRUE(listVisible());
    week.harness.tap(Point(160, 70));
    week.settle();
    EXPECT_FALSE(listVisible());

    week.harness.tap(fridayMoreButton);
    week.settle();
    ASSERT_TRUE(listVisible());
    EXPECT_EQ(listedDay(), 11);
    EXPECT_EQ(table().numberOfRowsInSection(0), 6);
    list()->closePopupAnimated(false);

    // On the desktop one notch of Ctrl + wheel over a day is a pinch.
    week.harness.window().pinchAt(mondayBody, 1.19);
    week.settle();
    ASSERT_TRUE(listVisible());
    EXPECT_EQ(listedDay(), 7);
}

TEST_F(ListEventsViewControllerTest, boxAndTableHeightsFollowTheEventsAndTheOrientation) {
    addEvents(8, 2);
    addEvents(9, 10);
    week.launch();
    open(1);
    EXPECT_EQ(table().frame().height(), 156.0);
    EXPECT_EQ(list()->listBoxView()->frame().height(), 226.0);
    EXPECT_EQ(list()->listBoxView()->frame().y(), (416.0 - 226.0) / 2);
    // The close button overlaps the box's top-right corner; the add button sits below the table.
    const Rect box = list()->listBoxView()->frame();
    EXPECT_EQ(list()->closeButton()->frame().origin(), Point(box.maxX() - 23, box.y() - 14));
    EXPECT_EQ(list()->createEventButton()->frame().y(), table().frame().maxY() + 5);
    list()->closePopupAnimated(false);
    week.settle();

    open(2);
    EXPECT_EQ(table().frame().height(), 208.0);
    EXPECT_EQ(table().contentSize().height(), 260.0);
    table().setContentOffset(Point(0, 52), false);
    EXPECT_EQ(table().contentOffset().y(), 52.0);

    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeRight);
    list()->configureForFrame(Rect(0, 0, 480, 268));
    EXPECT_EQ(table().frame().height(), 156.0);
    EXPECT_EQ(list()->listBoxView()->frame().x(), 90.0);
    for (int i = 0; i < 8; ++i) {
        list()->removeEvent(list()->displayedEvents().eventAtIndex(0)->eventIdentifier(), false);
    }
    EXPECT_EQ(table().frame().height(), 104.0);
    list()->addEvent(week.addEvent("Late", WeekScreen::at(2026, 12, 9, 22), WeekScreen::at(2026, 12, 9, 23)),
                     false);
    list()->addEvent(
        week.addEvent("Later", WeekScreen::at(2026, 12, 9, 23), WeekScreen::at(2026, 12, 9, 23, 30)), false);
    EXPECT_EQ(table().frame().height(), 104.0);
    list()->addEvent(
        week.addEvent("Last", WeekScreen::at(2026, 12, 9, 23, 30), WeekScreen::at(2026, 12, 9, 23, 45)),
        false);
    EXPECT_EQ(table().frame().height(), 130.0);
}

TEST_F(ListEventsViewControllerTest, oddRowsTurnGreyFromFourEventsOn) {
    addEvents(8, 3);
    addEvents(9, 4);
    week.launch();
    const Color whiteRow(1, 1, 1);
    const Color grey = Color::fromRgb255(230, 230, 230);
    open(1);
    EXPECT_EQ(rowColor(0), whiteRow);
    EXPECT_EQ(rowColor(1), whiteRow);
    EXPECT_EQ(rowColor(2), whiteRow);
    list()->closePopupAnimated(false);
    open(2);
    EXPECT_EQ(rowColor(0), whiteRow);
    EXPECT_EQ(rowColor(1), grey);
    EXPECT_EQ(rowColor(2), whiteRow);
    EXPECT_EQ(rowColor(3), grey);
    // Back to three: the remaining rows turn white.
    list()->removeEvent(list()->displayedEvents().eventAtIndex(0)->eventIdentifier());
    week.settle();
    EXPECT_EQ(rowColor(1), whiteRow);
}

TEST_F(ListEventsViewControllerTest, rowTapOpensTheEditorOverTheListExceptDuringCopyOrMove) {
    addEvents(8, 2);
    week.launch();
    open(1);
    week.harness.tap(rowInWindow(1));
    week.settle();
    auto editor = std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->event()->title(), "E2");
    week.navigation->popViewControllerAnimated(false);
    week.settle();
    EXPECT_TRUE(listVisible());
    EXPECT_FALSE(table().indexPathForSelectedRow());

    CopyMoveEventMode::sharedInstance().activateCopy(list()->displayedEvents().eventAtIndex(0),
                                                     list()->displayedDate());
    table().reloadData();
    week.harness.touchDown(rowInWindow(0));
    week.harness.advance(0.2);
    EXPECT_FALSE(table().cellForRowAtIndexPath(IndexPath(0, 0))->showsSelection());
    week.harness.touchUp(rowInWindow(0));
    week.settle();
    EXPECT_EQ(week.navigation->viewControllers().size(), 1u);
    EXPECT_FALSE(table().indexPathForSelectedRow());
}

TEST_F(ListEventsViewControllerTest, longPressOffersTheCopyMoveMenuForTheRowUnlessTheModeRuns) {
    addEvents(8, 3);
    week.launch();
    open(1);
    BusReceiver receiver;
    std::vector<std::shared_ptr<ActivateCopyMoveEvent>> activations;
    ApplicationEventDispatcher::sharedInstance().registerTarget<ActivateCopyMoveEvent>(
        &receiver, [&activations](const std::shared_ptr<ActivateCopyMoveEvent>& event) {
            activations.push_back(event);
        });
    MenuController& editMenu = MenuController::sharedMenuController();
    week.harness.longPress(rowInWindow(2), 1.1);
    ASSERT_TRUE(editMenu.isMenuVisible());
    ASSERT_EQ(editMenu.menuItems().size(), 3u);
    EXPECT_EQ(CopyMoveMenu::instance().event()->title(), "E3");
    EXPECT_EQ(CopyMoveMenu::instance().itemView(), table().cellForRowAtIndexPath(IndexPath(2, 0)));
    EXPECT_EQ(table().indexPathForSelectedRow(), IndexPath(2, 0));

    editMenu.menuItems()[1].action()();
    editMenu.setMenuVisible(false);
    week.harness.runUntilIdle();
    ASSERT_EQ(activations.size(), 1u);
    EXPECT_EQ(activations[0]->event()->title(), "E3");
    EXPECT_EQ(activations[0]->date(), list()->displayedDate());
    EXPECT_FALSE(activations[0]->copy());
    // After a choice the row stays marked for the mode that follows.
    EXPECT_TRUE(table().cellForRowAtIndexPath(IndexPath(2, 0))->selected());

    CopyMoveEventMode::sharedInstance().activateQuickMove(activations[0]->event(), list()->displayedDate());
    week.harness.longPress(rowInWindow(0), 1.1);
    EXPECT_FALSE(editMenu.isMenuVisible());
    EXPECT_FALSE(CopyMoveMenu::instance().event());
}

TEST_F(ListEventsViewControllerTest, listFadesAwayForCopyOrMoveAndComesBackAfterACancelThatScrolledBack) {
    addEvents(8, 3);
    week.launch();
    open(1);
    chooseFromRowMenu(0, 1);
    ASSERT_TRUE(CopyMoveEventMode::sharedInstance().quickMoveActivated());
    week.harness.advance(0.15);
    EXPECT_GT(list()->view()->presentationAlpha(), 0.0);
    EXPECT_LT(list()->view()->presentationAlpha(), 1.0);
    week.settle();
    EXPECT_FALSE(listVisible());
    EXPECT_FALSE(list()->view()->superview());

    // To the next week and back by "Cancel": the list returns 0.3 seconds after the scroll back.
    week.dragAcross(280, 40);
    week.settle();
    ASSERT_EQ(week.screen->currentWeek(), Week::currentWeek().addWeeks(1));
    week.screen->cancelCopyMoveEvent();
    week.harness.runUntilIdle();
    week.harness.advance(0.2);
    EXPECT_FALSE(listVisible());
    week.settle();
    ASSERT_TRUE(listVisible());
    EXPECT_EQ(week.screen->currentWeek(), Week::currentWeek());
    EXPECT_EQ(listedDay(), 8);
    EXPECT_EQ(list()->view()->superview(), week.screen->view());
    EXPECT_EQ(list()->view()->alpha(), 1.0);
    EXPECT_EQ(list()->listBoxView()->frame().y(), (416.0 - 226.0) / 2);
    // The row the move started from is let go.
    EXPECT_FALSE(table().indexPathForSelectedRow());
}

TEST_F(ListEventsViewControllerTest, cancelRightAfterTheStartKeepsTheListOpen) {
    addEvents(8, 2);
    week.launch();
    open(1);
    chooseFromRowMenu(1, 0);
    ASSERT_TRUE(CopyMoveEventMode::sharedInstance().copyActivated());
    week.harness.advance(0.1);
    week.screen->cancelCopyMoveEvent();
    week.settle();
    EXPECT_TRUE(listVisible());
    EXPECT_EQ(list()->view()->superview(), week.screen->view());
    EXPECT_EQ(list()->view()->alpha(), 1.0);
}

TEST_F(ListEventsViewControllerTest, addButtonOpensTheEditorForANewEventOnTheListedDay) {
    week.launch();
    open(1);
    EXPECT_EQ(table().numberOfRowsInSection(0), 0);
    EXPECT_EQ(table().frame().height(), 156.0);
    week.harness.tap(centerInWindow(*list()->createEventButton()));
    week.settle();
    const auto editor =
        std::dynamic_pointer_cast<EventDetailsViewController>(week.navigation->topViewController());
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->editMode());
    EXPECT_EQ(editor->event()->startDate(), WeekScreen::at(2026, 12, 8, 12));
}

TEST_F(ListEventsViewControllerTest, openListFollowsSavesDeletionsAndStoreChanges) {
    addEvents(8, 2);
    const auto other =
        week.addEvent("Elsewhere", WeekScreen::at(2026, 12, 9, 8), WeekScreen::at(2026, 12, 9, 9));
    week.launch();
    open(1);
    const Rect boxBefore = list()->listBoxView()->frame();

    // Removing an event that is not listed changes nothing.
    week.screen->updateWeekViewForDeletedEvent(other->eventIdentifier(), false, false);
    week.settle();
    EXPECT_EQ(list()->displayedEvents().size(), 2);
    EXPECT_EQ(list()->listBoxView()->frame(), boxBefore);

    // A new event shows in the week first and in the list 0.3 seconds later.
    EventService& service = week.harness.eventService();
    auto added = EKEvent::eventWithEventStore(week.harness.eventStore());
    added->setTitle("Added");
    added->setStartDate(WeekScreen::at(2026, 12, 8, 7));
    added->setEndDate(WeekScreen::at(2026, 12, 8, 8));
    added->setCalendar(week.harness.eventStore().defaultCalendarForNewEvents());
    ASSERT_TRUE(service.saveEvent(added, EKSpan::ThisEvent));
    week.screen->eventSaved(added, true, false, false);
    week.harness.runUntilIdle();
    week.harness.advance(0.25);
    EXPECT_FALSE(list()->displayedEvents().contains(*added));
    week.harness.advance(0.1);
    ASSERT_TRUE(list()->displayedEvents().contains(*added));
    EXPECT_EQ(list()->displayedEvents().eventAtIndex(0), added);

    // A deletion leaves the list on the next turn of the loop.
    ASSERT_TRUE(service.deleteEvent(added, EKSpan::ThisEvent));
    week.screen->updateWeekViewForDeletedEvent(added->eventIdentifier(), false, false);
    week.harness.runUntilIdle();
    EXPECT_FALSE(list()->displayedEvents().contains(*added));

    // An event edited onto another day leaves the list.
    const auto moved = list()->displayedEvents().eventAtIndex(1);
    moved->setStartDate(WeekScreen::at(2026, 12, 10, 8));
    moved->setEndDate(WeekScreen::at(2026, 12, 10, 9));
    ASSERT_TRUE(service.saveEvent(moved, EKSpan::ThisEvent));
    week.screen->eventSaved(moved, false, false, false);
    week.settle();
    EXPECT_EQ(list()->displayedEvents().size(), 1);

    // A change in the store made elsewhere reaches the open list.
    StoreError error;
    ASSERT_TRUE(week.harness.eventStore().removeEvent(list()->displayedEvents().eventAtIndex(0),
                                                      EKSpan::ThisEvent, &error));
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    week.settle();
    EXPECT_EQ(list()->displayedEvents().size(), 0);
    EXPECT_EQ(table().numberOfRowsInSection(0), 0);

    // A new time zone drops the list, and its dimmed view leaves the screen with it.
    const std::shared_ptr<View> listView = list()->view();
    ApplicationEventDispatcher::sharedInstance().dispatch<TimeZoneChangedEvent>();
    week.settle();
    EXPECT_FALSE(list());
    EXPECT_FALSE(listView->superview());
}

TEST_F(ListEventsViewControllerTest, picturesOfAFullScrolledListAnEmptyOneAndLandscape) {
    const auto work = week.addCalendar("Work", Color::fromRgb255(41, 98, 196));
    const auto home = week.addCalendar("Home", Color::fromRgb255(62, 160, 84));
    week.addEvent("Conference", WeekScreen::at(2026, 12, 7), WeekScreen::at(2026, 12, 10), true, work);
    week.addEvent("Night train", WeekScreen::at(2026, 12, 7, 22), WeekScreen::at(2026, 12, 8, 6), false,
                  home);
    const char* const titles[] = {"Standup", "Design sync", "1:1 with Mia", "Code review",
                                  "Lunch",   "Planning",    "Gym",          "Dinner at Luca's"};
    for (int i = 0; i < 8; ++i) {
        week.addEvent(titles[i], WeekScreen::at(2026, 12, 8, 8 + i, i % 2 * 30),
                      WeekScreen::at(2026, 12, 8, 9 + i), false, i % 3 == 0 ? home : work,
                      i == 4 ? QString("Café Luz") : QString());
    }
    week.launch();
    open(1);
    ASSERT_EQ(list()->displayedEvents().size(), 10);
    table().setContentOffset(Point(0, 52), false);
    SamplePictures::keep(week.harness.render(), "day-list-ten-events-scrolled.png");
    week.harness.longPress(rowInWindow(4), 1.1);
    week.settle();
    SamplePictures::keep(week.harness.render(), "day-list-row-menu.png");
    MenuController::sharedMenuController().setMenuVisible(false);
    list()->closePopupAnimated(false);

    open(5);
    EXPECT_EQ(list()->displayedEvents().size(), 0);
    SamplePictures::keep(week.harness.render(), "day-list-empty-day.png");

    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeRight);
    list()->configureForFrame(Rect(0, 0, 480, 268));
    list()->closePopupAnimated(false);
    open(1);
    list()->configureForFrame(Rect(0, 0, 480, 268));
    EXPECT_EQ(table().frame().height(), 156.0);
    SamplePictures::keep(week.harness.render(*list()->view()), "day-list-landscape.png");
}
