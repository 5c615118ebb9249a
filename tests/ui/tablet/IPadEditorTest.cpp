#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "ui/week/WeekScreenTestSupport.h"

#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/KeyInput.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverController.h"
#include "kit/PopoverView.h"
#include "kit/Switch.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "ui/daybox/EventView.h"
#include "ui/editing/TextFieldTableViewCell.h"
#include "ui/tablet/AllDayCell.h"
#include "ui/tablet/IPadDayViewController.h"
#include "ui/tablet/IPadEventDetailsController.h"
#include "ui/tablet/IPadWeekScrollViewController.h"
#include "ui/tablet/TimeCell.h"

#include <gtest/gtest.h>

namespace {

ScreenHarness::Options editorTabletOptions() {
    ScreenHarness::Options options;
    options.tablet = true;
    options.scale = 1.0;
    return options;
}

// The tablet week screen on a real store; the editor popover is opened by touches and typing.
class IPadEditorTest : public testing::Test {
protected:
    IPadEditorTest() : week(editorTabletOptions()) {}

    static Date at(int month, int day, int hour = 0, int minute = 0) {
        return WeekScreen::at(2026, month, day, hour, minute);
    }

    void launch() {
        screen = IPadWeekScrollViewController::create();
        navigation = std::make_shared<NavigationController>(screen);
        week.harness.launch(navigation);
        week.settle();
    }

    std::shared_ptr<IPadDayViewController> day(int month, int dayOfMonth) const {
        for (const auto& controller : screen->weekViews()[1]->dayViewControllers()) {
            if (DateUtilities::isEqualToDateIgnoreTime(controller->displayedDate(), at(month, dayOfMonth))) {
                return std::static_pointer_cast<IPadDayViewController>(controller);
            }
        }
        return nullptr;
    }
    static Rect inWindow(const View& view) { return view.convertRectToView(view.bounds(), nullptr); }
    // A tap on the card below its rows.
    void tapEmptyPartOf(const IPadDayViewController& controller) {
        const Rect card = inWindow(*controller.dayView());
        week.harness.tap(Point(card.midX(), card.maxY() - 40));
        week.settle(0.5);
    }
    void tapRow(const EventView& row) {
        week.harness.tap(inWindow(row).center());
        week.settle(0.5);
    }
    std::shared_ptr<IPadEventDetailsController> editor() const {
        return screen->iPadEventDetailsController();
    }
    bool popoverShown() const {
        return editor() && editor()->popoverController() && editor()->popoverController()->isPopoverVisible();
    }
    void type(const QString& text) { week.harness.type(text); }
    void press(int key) {
        KeyInput input;
        input.key = key;
        week.harness.window().keyInput(input);
    }
    // Titles of the day's rows as shown, top to bottom.
    static QStringList rowTitles(const IPadDayViewController& controller) {
        QStringList titles;
        for (const auto& row : controller.eventViews()) {
            if (!row->hidden() && row->event()) {
                titles << row->event()->title();
            }
        }
        return titles;
    }
    int storedTitled(const QString& title) {
        EKEventStore& store = week.harness.eventStore();
        int count = 0;
        for (const auto& event : store.eventsMatchingPredicate(
                 store.predicateForEvents(at(12, 1), at(12, 31), store.calendars()))) {
            count += event->title() == title ? 1 : 0;
        }
        return count;
    }
    double contentHeight() const { return editor()->contentSizeForViewInPopover().height(); }
    void keepPicture(const QString& name) {
        week.settle(0.5);
        SamplePictures::keep(week.harness.render(), name);
    }

    WeekScreen week;
    std::shared_ptr<IPadWeekScrollViewController> screen;
    std::shared_ptr<NavigationController> navigation;
};

TEST_F(IPadEditorTest, NewEventStandsAsPlaceholderPreviewsTypingAndSlidesIntoPlaceBeforeItIsStored) {
    week.addEvent("Standup", at(12, 9, 9), at(12, 9, 10));
    week.addEvent("Review", at(12, 9, 14), at(12, 9, 15));
    launch();
    const auto wednesday = day(12, 9);
    ASSERT_TRUE(wednesday);
    tapEmptyPartOf(*wednesday);

    ASSERT_TRUE(popoverShown());
    const auto placeholder = editor()->currentEventView();
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(placeholder, wednesday->eventViews()[2]) << "after the day's events";
    EXPECT_DOUBLE_EQ(placeholder->alpha(), 0.5);
    EXPECT_EQ(editor()->title(), "Add Event");
    const PopoverArrowDirection arrow = editor()->popoverController()->popoverArrowDirection();
    EXPECT_TRUE(arrow == PopoverArrowDirection::left || arrow == PopoverArrowDirection::right);
    EXPECT_DOUBLE_EQ(contentHeight(), 456.0) << "the time row is chosen, its picker shown";
    keepPicture("tablet-editor-new-event.png");

    type("Lunch");
    EXPECT_EQ(placeholder->titleLabel()->text(), "Lunch");
    EXPECT_DOUBLE_EQ(placeholder->alpha(), 0.5);
    EXPECT_EQ(rowTitles(*wednesday), QStringList({"Standup", "Review", "Lunch"}));
    // The store changed meanwhile: the week reads its days again, the placeholder stays one.
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    week.harness.runUntilIdle();
    EXPECT_EQ(rowTitles(*wednesday), QStringList({"Standup", "Review", "Lunch"}));
    EXPECT_DOUBLE_EQ(placeholder->alpha(), 0.5);

    editor()->navigationItem()->rightBarButtonItem()->onAction();
    EXPECT_FALSE(popoverShown());
    week.harness.advance(0.15);
    EXPECT_EQ(storedTitled("Lunch"), 0) << "the row slides first";
    EXPECT_DOUBLE_EQ(placeholder->alpha(), 1.0);
    week.harness.advance(0.2);
    week.harness.runUntilIdle();
    EXPECT_EQ(storedTitled("Lunch"), 1);
    week.settle();
    EXPECT_FALSE(wednesday->fakeEvent());
    EXPECT_EQ(rowTitles(*wednesday), QStringList({"Standup", "Lunch", "Review"}));
    for (const auto& row : wednesday->eventViews()) {
        EXPECT_DOUBLE_EQ(row->alpha(), row->hidden() ? row->alpha() : 1.0);
    }
}

TEST_F(IPadEditorTest, TapOutsideSavesAChangeAndOnlyClosesWithoutOne) {
    week.addEvent("Dentist", at(12, 10, 8), at(12, 10, 9));
    launch();
    const auto thursday = day(12, 10);
    ASSERT_TRUE(thursday);

    tapRow(*thursday->eventViews()[0]);
    ASSERT_TRUE(popoverShown());
    EXPECT_EQ(editor()->currentEventView(), thursday->eventViews()[0]);
    keepPicture("tablet-editor-existing-event.png");
    type(" moved");
    EXPECT_EQ(thursday->eventViews()[0]->titleLabel()->text(), "Dentist moved");
    week.harness.tap(Point(20, 1000));
    week.settle();
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(storedTitled("Dentist moved"), 1);
    EXPECT_EQ(storedTitled("Dentist"), 0);
    EXPECT_EQ(rowTitles(*thursday), QStringList({"Dentist moved"}));

    // Unchanged: nothing stored, the placeholder gone.
    tapEmptyPartOf(*thursday);
    ASSERT_TRUE(popoverShown());
    EXPECT_TRUE(thursday->fakeEvent());
    week.harness.tap(Point(20, 1000));
    week.settle();
    EXPECT_FALSE(popoverShown());
    EXPECT_FALSE(thursday->fakeEvent());
    EXPECT_EQ(rowTitles(*thursday), QStringList({"Dentist moved"}));
    EXPECT_EQ(storedTitled("New Event"), 0);

    // The week moves on during the slide and the day's page is used for another week: the save
    // still happens.
    tapRow(*thursday->eventViews()[0]);
    type(" again");
    week.harness.tap(Point(20, 1000));
    week.harness.advance(0.1);
    screen->scrollToWeek(Week(at(12, 17)), false, true);
    week.settle();
    EXPECT_EQ(storedTitled("Dentist moved again"), 1);
    EXPECT_FALSE(popoverShown());
}

TEST_F(IPadEditorTest, AllDayAndTheTimeRowSetThePopoverSize) {
    launch();
    const auto wednesday = day(12, 9);
    tapEmptyPartOf(*wednesday);
    ASSERT_TRUE(popoverShown());
    TableView& table = *editor()->tableView();
    EXPECT_DOUBLE_EQ(contentHeight(), 456.0);
    EXPECT_DOUBLE_EQ(editor()->popoverController()->popoverContentSize().height(), 456.0 + 44.0);

    Switch& allDay = *editor()->allDayCell()->allDaySwitch();
    week.harness.tap(inWindow(allDay).center());
    week.settle(0.5);
    ASSERT_TRUE(allDay.on());
    EXPECT_TRUE(editor()->eventModel()->allDay());
    EXPECT_EQ(table.numberOfRowsInSection(IPadEventDetailsController::timeSection), 0);
    EXPECT_DOUBLE_EQ(contentHeight(), 185.0);
    EXPECT_TRUE(editor()->titleCell()->textField().isFirstResponder());
    EXPECT_TRUE(editor()->currentEventView()->allDay()) << "the row previews the change";

    week.harness.tap(inWindow(allDay).center());
    week.settle(0.5);
    ASSERT_FALSE(allDay.on());
    EXPECT_EQ(table.numberOfRowsInSection(IPadEventDetailsController::timeSection), 1);
    EXPECT_DOUBLE_EQ(contentHeight(), 240.0);

    week.harness.tap(inWindow(*editor()->timeCell()).center());
    week.settle(0.5);
    EXPECT_DOUBLE_EQ(contentHeight(), 456.0);
    EXPECT_FALSE(editor()->titleCell()->textField().isFirstResponder());
}

TEST_F(IPadEditorTest, KeyboardPushesTheWeekUpWhileItWouldCoverTheRow) {
    // The third card's placeholder stands low on the screen once the day has three events.
    for (int hour = 8; hour < 11; ++hour) {
        week.addEvent("Early", at(12, 9, hour), at(12, 9, hour + 1));
    }
    launch();
    const auto wednesday = day(12, 9);
    tapEmptyPartOf(*wednesday);
    ASSERT_TRUE(popoverShown());
    const auto row = editor()->currentEventView();
    const double rowTop = inWindow(*row).y();
    ASSERT_GT(rowTop, 708.0);
    const double headerTop = inWindow(*wednesday->dayView()).y();

    // The title takes the keyboard, 264 high: the row must stay above 1024 - 264 - 52.
    week.harness.tap(inWindow(*editor()->titleCell()).center());
    week.harness.advance(0.1);
    EXPECT_DOUBLE_EQ(editor()->weekScrollViewMovedUpPixels(), rowTop - 708.0);
    week.settle(0.5);
    week.harness.render();
    EXPECT_DOUBLE_EQ(inWindow(*row).y(), 708.0);
    EXPECT_DOUBLE_EQ(inWindow(*wednesday->dayView()).y(), headerTop - (rowTop - 708.0));
    const Rect popover = inWindow(*editor()->popoverController()->popoverView());
    EXPECT_LE(popover.maxY(), 1024.0 - 264.0) << "clear of the keyboard";
    EXPECT_LE(popover.minY(), 708.0 + 14.0);
    EXPECT_GE(popover.maxY(), 708.0 + 14.0) << "beside the row";
    keepPicture("tablet-editor-keyboard.png");

    editor()->navigationItem()->leftBarButtonItem()->onAction();
    week.settle(0.5);
    EXPECT_DOUBLE_EQ(inWindow(*row).y(), rowTop);
    EXPECT_DOUBLE_EQ(editor()->weekScrollViewMovedUpPixels(), 0.0);
}

TEST_F(IPadEditorTest, PopoverBesideSundaysLastRowPointsRightAndReadOnlyEventsOpenNothing) {
    for (int hour = 8; hour < 12; ++hour) {
        week.addEvent(QStringLiteral("Hike %1").arg(hour), at(12, 13, hour), at(12, 13, hour + 1));
    }
    week.addBirthday("Ada Lovelace", "1815-12-10");
    launch();
    const auto sunday = day(12, 13);
    ASSERT_TRUE(sunday);
    const auto lastRow = sunday->eventViews()[3];
    tapRow(*lastRow);
    ASSERT_TRUE(popoverShown());
    EXPECT_EQ(editor()->popoverController()->popoverArrowDirection(), PopoverArrowDirection::right);
    EXPECT_LE(inWindow(*editor()->popoverController()->popoverView()).maxX(), inWindow(*lastRow).minX());
    editor()->dismissPopover();
    week.settle();

    const auto thursday = day(12, 10);
    ASSERT_EQ(rowTitles(*thursday).size(), 1);
    const auto previous = editor();
    tapRow(*thursday->eventViews()[0]);
    EXPECT_EQ(editor(), previous);
    EXPECT_FALSE(popoverShown());
}

TEST_F(IPadEditorTest, SaveTheStoreRefusesKeepsThePlaceholderAndThePopoverUnderTheAlert) {
    const auto work = week.addCalendar("Work", Color(0.2, 0.4, 0.8));
    launch();
    const auto wednesday = day(12, 9);
    tapEmptyPartOf(*wednesday);
    ASSERT_TRUE(popoverShown());
    editor()->calendarChanged(work);
    type("Offsite");
    // Another program removes the calendar meanwhile.
    StoreError error;
    ASSERT_TRUE(week.harness.eventStore().removeCalendar(work, true, &error));
    week.settle(0.5);

    editor()->saveEvent();
    week.settle();
    EXPECT_EQ(storedTitled("Offsite"), 0);
    ASSERT_TRUE(popoverShown());
    ASSERT_TRUE(editor()->eventModel());
    EXPECT_EQ(editor()->eventModel()->title(), "Offsite");
    EXPECT_EQ(editor()->titleCell()->textField().text(), "Offsite");
    ASSERT_TRUE(wednesday->fakeEvent());
    ASSERT_TRUE(editor()->currentEventView());
    EXPECT_DOUBLE_EQ(editor()->currentEventView()->alpha(), 0.5);
    const auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(alerts.front()->isShowing()) << "in front of the popover";
    EXPECT_LE(inWindow(*editor()->popoverController()->popoverView()).maxY(), 1024.0 - 264.0)
        << "clear of the keyboard still up";
    keepPicture("tablet-editor-refused-save.png");
    alerts.front()->dismissWithClickedButtonIndex(0, false);
    week.settle();

    editor()->dismissPopover();
    week.settle();
    EXPECT_FALSE(wednesday->fakeEvent());
    EXPECT_TRUE(rowTitles(*wednesday).isEmpty());
}

TEST_F(IPadEditorTest, EscapeCancelsNOpensTheEditorOnTodayAndReturnInTheTitleSaves) {
    launch();
    const auto thursday = day(12, 10);
    tapEmptyPartOf(*thursday);
    type("Gym");
    EXPECT_TRUE(editor()->titleCell()->textField().isFirstResponder());
    press(Qt::Key_Escape);
    week.settle();
    EXPECT_FALSE(popoverShown());
    EXPECT_FALSE(thursday->fakeEvent());
    EXPECT_EQ(storedTitled("Gym"), 0);

    // N with nothing selected: a new event today, beside today's card.
    const auto today = day(12, 8);
    press(Qt::Key_N);
    week.settle(0.5);
    ASSERT_TRUE(popoverShown());
    EXPECT_TRUE(today->fakeEvent());
    type("Swim");
    press(Qt::Key_Return);
    week.settle();
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(storedTitled("Swim"), 1);
    EXPECT_EQ(rowTitles(*today), QStringList({"Swim"}));
}

} // namespace

TEST_F(IPadEditorTest, DoneAndTapOutsideAskBeforeSavingOverAChangeMadeElsewhere) {
    const auto event = week.addEvent("Dentist", at(12, 10, 8), at(12, 10, 9));
    launch();
    const auto thursday = day(12, 10);
    ASSERT_TRUE(thursday);
    const auto editAndChangeElsewhere = [&](const QString& location) {
        tapRow(*thursday->eventViews()[0]);
        ASSERT_TRUE(popoverShown());
        type(" moved");
        auto other = week.harness.eventStore().eventWithIdentifier(event->eventIdentifier());
        other->setLocation(location);
        StoreError error;
        ASSERT_TRUE(week.harness.eventStore().saveEvent(other, EKSpan::ThisEvent, &error));
    };

    // "Done", then "Discard Mine": closed, nothing of the editor saved.
    editAndChangeElsewhere("Room 1");
    editor()->navigationItem()->rightBarButtonItem()->onAction();
    week.settle(0.5);
    auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->title(), "Changed Elsewhere");
    week.tapView(*alerts.front()->buttons().front());
    week.settle(0.5);
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(storedTitled("Dentist"), 1);
    EXPECT_EQ(storedTitled("Dentist moved"), 0);

    // A tap outside asks too, with the popover still up; "Save Mine" saves.
    editAndChangeElsewhere("Room 2");
    week.harness.tap(Point(20, 1000));
    week.settle(0.5);
    alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(popoverShown());
    week.tapView(*alerts.front()->buttons().at(1));
    week.settle();
    EXPECT_EQ(storedTitled("Dentist moved"), 1);
    EXPECT_FALSE(popoverShown());
}
