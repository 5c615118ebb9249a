#include "ui/editor/EditorTestSupport.h"

#include "kit/AlertView.h"
#include "kit/DatePickerWheel.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/Switch.h"
#include "kit/TextField.h"
#include "ui/eventkit/EventDatesViewController.h"
#include "ui/eventkit/EventEditFormController.h"
#include "ui/eventkit/RecurrenceDescription.h"

namespace {

using FormRow = EventEditFormController::FormRow;

class EventEditFormControllerTest : public testing::Test {
protected:
    // Opens the event in the quick editor and then "More".
    EventEditFormController& openFullEditor(const std::shared_ptr<EKEvent>& event) {
        screen.openEvent(event);
        screen.tapView(*screen.editor->moreButton());
        full = screen.editor->nativeEditor();
        EXPECT_TRUE(full);
        return full->form();
    }

    std::shared_ptr<EKEvent> stored(const std::shared_ptr<EKEvent>& event) {
        return screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier());
    }

    // Taps the start or end row: the dates screen comes up.
    EventDatesViewController& openDates(EventEditFormController& form, FormRow row) {
        const auto sections = form.sections();
        for (int section = 0; section < static_cast<int>(sections.size()); ++section) {
            const auto& rows = sections[static_cast<std::size_t>(section)];
            if (const auto found = std::find(rows.begin(), rows.end(), row); found != rows.end()) {
                form.didSelectRowAtIndexPath(*form.tableView(),
                                             IndexPath(static_cast<int>(found - rows.begin()), section));
            }
        }
        screen.settle();
        auto dates = std::dynamic_pointer_cast<EventDatesViewController>(
            form.navigationController()->topViewController());
        EXPECT_TRUE(dates);
        return *dates;
    }

    // Taps the row of the hour wheel that many rows below (above, when negative) its middle.
    void turnHours(EventDatesViewController& dates, int rows) {
        const DatePicker& picker = *dates.datePicker();
        const Rect hours = picker.convertRectToView(picker.rectForComponent(1), nullptr);
        screen.harness.tap(Point(hours.center().x(), hours.center().y() + rows * DatePickerWheel::rowHeight));
        screen.settle();
    }

    // Dismisses the alert on screen and returns its title and message.
    QString takeAlert() {
        const auto alerts = AlertView::queuedAlerts();
        if (alerts.empty()) {
            return {};
        }
        const QString text = alerts.front()->title() + ": " + alerts.front()->message();
        screen.tapView(*alerts.front()->buttons().front());
        return text;
    }

    EditorScreen screen;
    std::shared_ptr<EKEventEditViewController> full;
};

} // namespace

TEST_F(EventEditFormControllerTest, datesAreSetOnWheelsAndAnEndBeforeTheStartIsNeverSaved) {
    const auto event =
        screen.addEvent("Talk", WeekScreen::at(2026, 12, 9, 14), WeekScreen::at(2026, 12, 9, 15));
    EventEditFormController& form = openFullEditor(event);
    EXPECT_EQ(form.valueText(FormRow::Starts).left(11), "Dec 9, 2026");
    EXPECT_TRUE(form.valueText(FormRow::Starts).contains("2:00"));

    // A later start takes the end along; the end's own wheels can put it before the start.
    EventDatesViewController& starts = openDates(form, FormRow::Starts);
    EXPECT_EQ(starts.datePicker()->datePickerMode(), DatePicker::Mode::DateAndTime);
    turnHours(starts, 1);
    EXPECT_EQ(starts.end(), WeekScreen::at(2026, 12, 9, 16));
    screen.tapView(*starts.navigationItem()->rightBarButtonItem()->view());
    EXPECT_TRUE(form.valueText(FormRow::Ends).contains("4:00"));
    EventDatesViewController& ends = openDates(form, FormRow::Ends);
    turnHours(ends, -2);
    screen.tapView(*ends.navigationItem()->rightBarButtonItem()->view());
    form.done();
    screen.settle();
    EXPECT_EQ(takeAlert(), "Cannot Save Event: The event cannot end before it starts.");
    EXPECT_EQ(screen.editor->modalViewController(), full);
    EXPECT_EQ(stored(event)->endDate(), WeekScreen::at(2026, 12, 9, 15));
    EXPECT_TRUE(screen.reports->lines.isEmpty());
    // "Cancel" leaves the form's dates as they were.
    EventDatesViewController& cancelled = openDates(form, FormRow::Ends);
    turnHours(cancelled, 2);
    screen.tapView(*cancelled.navigationItem()->leftBarButtonItem()->view());
    EXPECT_TRUE(form.valueText(FormRow::Ends).contains("2:00"));
    EventDatesViewController& later = openDates(form, FormRow::Ends);
    turnHours(later, 2);
    screen.tapView(*later.navigationItem()->rightBarButtonItem()->view());
    form.done();
    screen.settle();
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=0 spans=0");
    EXPECT_EQ(stored(event)->startDate(), WeekScreen::at(2026, 12, 9, 15));
    EXPECT_EQ(stored(event)->endDate(), WeekScreen::at(2026, 12, 9, 16));

    // All-day shows days on day wheels; a one-day event ends on its own day.
    EventEditFormController& allDay = openFullEditor(stored(event));
    allDay.allDaySwitch().setOn(true);
    allDay.allDaySwitch().onValueChanged();
    EXPECT_EQ(allDay.valueText(FormRow::Ends), "Dec 9, 2026");
    EXPECT_EQ(openDates(allDay, FormRow::Ends).datePicker()->datePickerMode(), DatePicker::Mode::Date);
    allDay.navigationController()->popViewControllerAnimated(false);
    screen.settle();
    allDay.done();
    screen.settle();
    EXPECT_TRUE(stored(event)->allDay());
    EXPECT_EQ(stored(event)->endDate(), WeekScreen::at(2026, 12, 10));
}

TEST_F(EventEditFormControllerTest, aRuleTheListCannotExpressIsDescribedAndKeptUnlessChanged) {
    EKEventStore& store = screen.harness.eventStore();
    auto event = EKEvent::eventWithEventStore(store);
    event->setTitle("Club");
    event->setStartDate(WeekScreen::at(2026, 12, 8, 19));
    event->setEndDate(WeekScreen::at(2026, 12, 8, 21));
    event->setCalendar(store.defaultCalendarForNewEvents());
    QString error;
    event->setRecurrenceRule(EKRecurrenceRule::fromRRule("FREQ=MONTHLY;BYDAY=2TU", &error));
    StoreError storeError;
    ASSERT_TRUE(store.saveEvent(event, EKSpan::ThisEvent, &storeError));
    const QString rule = stored(event)->recurrenceRule()->rrule();

    EventEditFormController& form = openFullEditor(event);
    EXPECT_EQ(form.valueText(FormRow::Repeat), "Every month on the second Tuesday");
    EXPECT_EQ(form.optionsForRow(FormRow::Repeat).size(), 7);
    // Typing reaches the focused field from the computer's keyboard.
    screen.tapView(form.field(FormRow::Location));
    screen.type("Hall");
    // A list of choices ends the typing and takes the keyboard away; back, the text is kept.
    EXPECT_TRUE(screen.harness.window().keyboard().isShown());
    const auto rows = form.sections();
    for (int section = 0; section < static_cast<int>(rows.size()); ++section) {
        const auto& inSection = rows[static_cast<std::size_t>(section)];
        if (const auto row = std::find(inSection.begin(), inSection.end(), FormRow::Repeat);
            row != inSection.end()) {
            form.didSelectRowAtIndexPath(*form.tableView(),
                                         IndexPath(static_cast<int>(row - inSection.begin()), section));
        }
    }
    screen.settle();
    EXPECT_FALSE(screen.harness.window().keyboard().isShown());
    form.navigationController()->popViewControllerAnimated(false);
    screen.settle();
    EXPECT_EQ(form.field(FormRow::Location).text(), "Hall");
    form.done();
    screen.settle();
    ASSERT_TRUE(form.openChoice() && form.openChoice()->isVisible());
    screen.chooseInSheet(*form.openChoice(), "Save for future events");
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=0 spans=1");
    EXPECT_EQ(stored(event)->location(), "Hall");
    EXPECT_EQ(stored(event)->recurrenceRule()->rrule(), rule);

    // Another choice replaces it.
    EventEditFormController& again = openFullEditor(stored(event));
    again.chooseOption(FormRow::Repeat, 2);
    EXPECT_EQ(again.valueText(FormRow::Repeat), "Every Week");
    again.field(FormRow::EndRepeat).setText("2026-12-22");
    again.done();
    screen.settle();
    screen.chooseInSheet(*again.openChoice(), "Save for future events");
    const auto occurrences = store.eventsMatchingPredicate(
        store.predicateForEvents(WeekScreen::at(2026, 12, 1), WeekScreen::at(2027, 2, 1), store.calendars()));
    EXPECT_EQ(occurrences.size(), 3u);
}

TEST_F(EventEditFormControllerTest, alertsAndCalendarListOnlyWhatCanBeChosen) {
    screen.addCalendar("Work", Color(0.2, 0.4, 0.8));
    screen.addBirthday("Anna Berger", "1990-12-09");
    const auto event =
        screen.addEvent("Talk", WeekScreen::at(2026, 12, 9, 14), WeekScreen::at(2026, 12, 9, 15));
    EventEditFormController& form = openFullEditor(event);
    EXPECT_EQ(form.optionsForRow(FormRow::Alert).join("|"),
              "None|At time of event|5 minutes before|15 minutes before|30 minutes before|1 hour before|"
              "2 hours before|1 day before|2 days before");
    form.chooseOption(FormRow::Alert, 3);
    form.chooseOption(FormRow::SecondAlert, 7);
    EXPECT_EQ(form.valueText(FormRow::SecondAlert), "1 day before");
    EXPECT_TRUE(form.optionsForRow(FormRow::Calendar).contains("Work"));
    EXPECT_EQ(form.optionsForRow(FormRow::Calendar).size(), 2);
    form.chooseOption(FormRow::Calendar,
                      static_cast<int>(form.optionsForRow(FormRow::Calendar).indexOf("Work")));
    form.done();
    screen.settle();
    const auto saved = stored(event);
    ASSERT_EQ(saved->alarms().size(), 2u);
    EXPECT_EQ(saved->alarms()[0].relativeOffset(), -900.0);
    EXPECT_EQ(saved->alarms()[1].relativeOffset(), -86400.0);
    EXPECT_EQ(saved->calendar()->title(), "Work");
}

TEST(RecurrenceDescriptionTest, rulesTheListCannotExpressReadAsWords) {
    ScreenHarness harness;
    const auto describe = [](const char* rrule) {
        QString error;
        const auto rule = EKRecurrenceRule::fromRRule(QString::fromLatin1(rrule), &error);
        return rule ? RecurrenceDescription::describe(*rule) : error;
    };
    EXPECT_EQ(describe("FREQ=MONTHLY;BYDAY=2TU"), "Every month on the second Tuesday");
    EXPECT_EQ(describe("FREQ=MONTHLY;BYDAY=-1FR"), "Every month on the last Friday");
    EXPECT_EQ(describe("FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1"),
              "Every month on the first of Monday, Tuesday, Wednesday, Thursday and Friday");
    EXPECT_EQ(describe("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;COUNT=10"),
              "Every 2 weeks on Monday and Friday, 10 times");
    EXPECT_EQ(describe("FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=15"), "Every year in March on the 15.");
    EXPECT_EQ(describe("FREQ=HOURLY;INTERVAL=6"), "Every 6 hours");
    EXPECT_EQ(describe("RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5L;BYMONTHDAY=8;SKIP=FORWARD"),
              "Every year in leap month 5 on the 8. in the Hebrew calendar");
}

TEST_F(EventEditFormControllerTest, aChangeThatCameInWhileEditingIsNotUndoneUnasked) {
    const auto event =
        screen.addEvent("Talk", WeekScreen::at(2026, 12, 9, 14), WeekScreen::at(2026, 12, 9, 15));
    const auto changeElsewhere = [&](const QString& location) {
        const auto other = stored(event);
        other->setLocation(location);
        StoreError error;
        ASSERT_TRUE(screen.harness.eventStore().saveEvent(other, EKSpan::ThisEvent, &error));
    };

    // Nothing changed meanwhile: "Done" saves without a question.
    EventEditFormController& plain = openFullEditor(event);
    plain.field(FormRow::Title).setText("Talk 2");
    plain.done();
    screen.settle();
    EXPECT_TRUE(AlertView::queuedAlerts().empty());
    EXPECT_EQ(stored(event)->title(), "Talk 2");

    // The other version kept: the editor's changes go, the other change stays.
    EventEditFormController& first = openFullEditor(stored(event));
    first.field(FormRow::Title).setText("Talk 3");
    changeElsewhere("Hall A");
    first.done();
    screen.settle();
    EXPECT_TRUE(takeAlert().startsWith("Changed Elsewhere: "));
    screen.settle();
    EXPECT_EQ(stored(event)->title(), "Talk 2");
    EXPECT_EQ(stored(event)->location(), "Hall A");

    // Mine saved over it, when asked for.
    EventEditFormController& second = openFullEditor(stored(event));
    second.field(FormRow::Title).setText("Talk 4");
    const QString mine = second.field(FormRow::Location).text();
    changeElsewhere("Hall B");
    second.done();
    screen.settle();
    const auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    screen.tapView(*alerts.front()->buttons().at(1));
    screen.settle();
    EXPECT_EQ(stored(event)->title(), "Talk 4");
    EXPECT_EQ(stored(event)->location(), mine);
    EXPECT_NE(mine, "Hall B");
}
