#include "ui/week/WeekScreenTestSupport.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DeleteEventEvent.h"
#include "kit/AlertView.h"
#include "kit/Button.h"
#include "ui/daybox/EventView.h"
#include "ui/daybox/SelectedBackgroundView.h"
#include "ui/editing/DeleteEventActionSheet.h"
#include "ui/editing/MoveRecurringEventActionSheet.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"
#include "ui/week/DayViewController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class SpanChoiceLog final : public RecurringEventActionSheetDelegate {
public:
    void clickedButtonForSpan(RecurringEventActionSheet&, EKSpan span) override {
        log += span == EKSpan::FutureEvents ? "future " : "this ";
    }
    std::string log;
};

// The week screen on a real store, with the choice sheets shown over it and answered by touch.
class EditingChoicesTest : public testing::Test {
protected:
    static Date at(int month, int day, int hour = 0) { return WeekScreen::at(2026, month, day, hour); }

    // The rows of the displayed week that show the title.
    std::vector<std::shared_ptr<EventView>> rowsTitled(const QString& title) const {
        std::vector<std::shared_ptr<EventView>> rows;
        for (const auto& day : week.screen->weekViews()[1]->dayViewControllers()) {
            for (const auto& row : day->eventViews()) {
                if (row->event() && row->event()->title() == title) {
                    rows.push_back(row);
                }
            }
        }
        return rows;
    }
    static bool marked(const EventView& row) { return !row.selectedBackgroundImage()->hidden(); }

    // Start dates of the title's occurrences in the store, in order.
    std::vector<Date> occurrences(const QString& title) {
        EKEventStore& store = week.harness.eventStore();
        std::vector<Date> starts;
        for (const auto& event : store.eventsMatchingPredicate(
                 store.predicateForEvents(at(11, 1), WeekScreen::at(2027, 1, 31), store.calendars()))) {
            if (event->title() == title) {
                starts.push_back(event->startDate());
            }
        }
        std::sort(starts.begin(), starts.end());
        return starts;
    }

    std::shared_ptr<ActionSheet> shownSheet() {
        // A sheet stands on the dimmed layer over the window.
        for (const auto& layer : week.harness.window().subviews()) {
            for (const auto& view : layer->subviews()) {
                if (auto sheet = std::dynamic_pointer_cast<ActionSheet>(view); sheet && sheet->isVisible()) {
                    return sheet;
                }
            }
        }
        return nullptr;
    }
    void answer(ActionSheet& sheet, int buttonIndex) {
        week.settle(0.5);
        const Button& button = *sheet.buttons().at(static_cast<std::size_t>(buttonIndex));
        week.harness.tap(button.convertPointToView(
            Point(button.bounds().width() / 2, button.bounds().height() / 2), &week.harness.window()));
        week.settle();
    }
    void keepPicture(const QString& name) {
        week.settle(0.5);
        SamplePictures::keep(week.harness.render(), name);
    }

    WeekScreen week;
};

} // namespace

TEST_F(EditingChoicesTest, SingleEventIsConfirmedWithoutTitleInTwoButtonsAndDeletedFromStoreAndWeek) {
    const auto lunch = week.addEvent("Lunch with Ada", at(12, 9, 12), at(12, 9, 13));
    week.launch();
    ASSERT_EQ(rowsTitled("Lunch with Ada").size(), 1u);
    ApplicationEventDispatcher::sharedInstance().dispatch<DeleteEventEvent>(lunch);
    std::shared_ptr<ActionSheet> sheet = shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "");
    ASSERT_EQ(sheet->numberOfButtons(), 2);
    EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Delete Event");
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Cancel");
    EXPECT_TRUE(marked(*rowsTitled("Lunch with Ada").front()));
    keepPicture("delete-sheet-single-event.png");

    // "Cancel" keeps the event and takes the mark away.
    answer(*sheet, 1);
    EXPECT_FALSE(shownSheet());
    ASSERT_EQ(rowsTitled("Lunch with Ada").size(), 1u);
    EXPECT_FALSE(marked(*rowsTitled("Lunch with Ada").front()));
    EXPECT_EQ(occurrences("Lunch with Ada").size(), 1u);

    ApplicationEventDispatcher::sharedInstance().dispatch<DeleteEventEvent>(lunch);
    answer(*shownSheet(), 0);
    EXPECT_TRUE(occurrences("Lunch with Ada").empty());
    EXPECT_TRUE(rowsTitled("Lunch with Ada").empty());
}

TEST_F(EditingChoicesTest, DeletingAllFutureEventsPassesSpanOneAndReportsARepeatingEvent) {
    week.addWeeklyEvent("Choir", at(11, 25, 19));
    week.launch();
    ASSERT_EQ(rowsTitled("Choir").size(), 1u);
    const std::shared_ptr<EKEvent> thisWeek = rowsTitled("Choir").front()->event();
    auto sheet = DeleteEventActionSheet::actionSheetForEvent(thisWeek);
    std::string reports;
    sheet->setOnDeleted([&](const QString& identifier, bool recurring) {
        reports += (identifier == thisWeek->eventIdentifier() ? "deleted" : "deleted another") +
                   std::string(recurring ? " repeating" : " single");
    });
    sheet->setOnCancelled([&] { reports += "cancelled"; });
    sheet->showInView(*week.screen->view());
    EXPECT_EQ(sheet->title(), "This is a repeating event.");
    ASSERT_EQ(sheet->numberOfButtons(), 3);
    EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Delete this event only");
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Delete all future events");
    EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Cancel");
    keepPicture("delete-sheet-repeating-event.png");

    answer(*sheet, 1);
    EXPECT_EQ(reports, "deleted repeating");
    EXPECT_EQ(occurrences("Choir"), (std::vector<Date>{at(11, 25, 19), at(12, 2, 19)}));
}

TEST_F(EditingChoicesTest, DeletionTheStoreRefusesIsShownInAnAlertAndReportedAsCancelled) {
    const auto dentist = week.addEvent("Dentist", at(12, 10, 8), at(12, 10, 9));
    week.launch();
    // Another program removes the event while the week still shows it.
    StoreError error;
    ASSERT_TRUE(week.harness.eventStore().removeEvent(dentist, EKSpan::ThisEvent, &error));
    auto sheet = DeleteEventActionSheet::actionSheetForEvent(dentist);
    std::string reports;
    sheet->setOnDeleted([&](const QString&, bool) { reports += "deleted"; });
    sheet->setOnCancelled([&] { reports += "cancelled"; });
    sheet->showInView(*week.screen->view());
    answer(*sheet, 0);
    EXPECT_EQ(reports, "cancelled");
    const auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(alerts.front()->isVisible());
    EXPECT_EQ(alerts.front()->title(), "Error deleting event");
    EXPECT_EQ(alerts.front()->message(), "The event is not in the store.");
    ASSERT_EQ(alerts.front()->numberOfButtons(), 1);
    EXPECT_EQ(alerts.front()->buttonTitleAtIndex(0), "OK");
    keepPicture("delete-refused-alert.png");
    alerts.front()->dismissWithClickedButtonIndex(0, false);
    week.settle();
}

TEST_F(EditingChoicesTest, MoveChoiceIsOneSharedSheetWhoseAnswersReachTheLatestDelegate) {
    week.launch();
    const auto sheet = MoveRecurringEventActionSheet::instance();
    EXPECT_EQ(sheet, MoveRecurringEventActionSheet::instance());
    EXPECT_EQ(sheet->title(), "This is a repeating event.");
    ASSERT_EQ(sheet->numberOfButtons(), 3);
    EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Move this event only");
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Move all future events");
    EXPECT_EQ(sheet->cancelButtonIndex(), 2);

    auto first = std::make_shared<SpanChoiceLog>();
    auto second = std::make_shared<SpanChoiceLog>();
    sheet->setTargetDate(at(12, 10));
    sheet->setRecurringEventDelegate(first);
    sheet->showInView(*week.screen->view());
    answer(*sheet, 0);
    sheet->showInView(*week.screen->view());
    answer(*sheet, 2);
    EXPECT_EQ(first->log, "this ");

    sheet->setTargetDate(at(12, 11));
    sheet->setRecurringEventDelegate(second);
    sheet->showInView(*week.screen->view());
    answer(*sheet, 1);
    EXPECT_EQ(first->log, "this ");
    EXPECT_EQ(second->log, "future ");
    EXPECT_EQ(sheet->targetDate(), at(12, 11));
    EXPECT_FALSE(sheet->isVisible());
}
