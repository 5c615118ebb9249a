#include "ui/editor/EditorTestSupport.h"

#include "core/calendar/Day.h"
#include "kit/DatePicker.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "ui/editing/CalendarPickerView.h"
#include "ui/eventkit/EventDateText.h"
#include "ui/eventkit/EventEditFormController.h"
#include "ui/eventkit/EventEditOptionListController.h"

#include <algorithm>

namespace {

// What another program reading the same store file sees: the occurrences from 30 November
// to 1 February as "title day hh:mm", sorted.
std::string seenByAnotherProgram(const QString& databasePath) {
    EKEventStore other(databasePath);
    auto events = other.eventsMatchingPredicate(other.predicateForEvents(
        WeekScreen::at(2026, 11, 30), WeekScreen::at(2027, 2, 1), other.calendars()));
    std::sort(events.begin(), events.end(),
              [](const auto& a, const auto& b) { return a->startDate() < b->startDate(); });
    QStringList lines;
    for (const auto& event : events) {
        const Day day = DateUtilities::day(event->startDate());
        lines.append(QStringLiteral("%1 %2.%3 %4 %5")
                         .arg(event->title())
                         .arg(day.dayNumber())
                         .arg(day.monthNumber())
                         .arg(EventDateText::format(event->startDate(), false).right(5))
                         .arg(event->calendar() ? event->calendar()->title() : QString()));
    }
    return lines.join(", ").toStdString();
}

class EventEditingEndToEndTest : public testing::Test {
protected:
    std::string seen() { return seenByAnotherProgram(screen.harness.eventStore().databasePath()); }

    // The first row of a day box of the week shown (0 = Monday .. 4 = Friday).
    void tapFirstRow(int weekday) {
        const double x = weekday < 3 ? 80 : 240;
        const double y = EditorScreen::contentTop + 1 + (weekday % 3) * 138.5 + 23 + 10;
        screen.harness.tap(Point(x, y));
        screen.settle();
    }

    // One tap on the hour wheel's row below the middle turns it one hour on.
    void nextHour() {
        DatePicker& picker = *screen.editor->timePicker();
        const Rect wheel = picker.convertRectToView(picker.rectForComponent(0), nullptr);
        screen.harness.tap(wheel.center().offset(0, 44));
        screen.settle();
    }

    // A tap on the calendar's square in the editor's strip.
    void pickCalendar(const QString& title) {
        CalendarPickerView& picker = *screen.editor->calendarPickerView();
        const auto& calendars = picker.calendars();
        const auto found = std::find_if(calendars.begin(), calendars.end(), [&title](const auto& calendar) {
            return calendar->title() == title;
        });
        ASSERT_NE(found, calendars.end());
        const double x = 9 + 8.5 + CalendarPickerView::optionWidth * double(found - calendars.begin());
        screen.harness.tap(picker.convertPointToView(Point(x, 16 + 8.5), nullptr));
        screen.settle();
        ASSERT_TRUE(picker.selectedCalendar());
        EXPECT_EQ(picker.selectedCalendar()->title(), title);
    }

    void tapRow(TableViewController& list, int section, int row) {
        screen.tapView(*list.tableView()->cellForRowAtIndexPath(IndexPath(row, section)));
    }

    void pageForward() {
        screen.dragAcross(280, 40);
        screen.settle();
    }

    EditorScreen screen;
};

} // namespace

TEST_F(EventEditingEndToEndTest, anEventMadeChangedRepeatedMovedAndCutShortByTouchesIsInTheStore) {
    screen.addCalendar("Work", Color(0.85, 0.35, 0.2));
    // Tap Wednesday, type a title, "Done".
    screen.tapDay(2);
    screen.tapView(*screen.editor->titleField());
    screen.type("Planning");
    screen.tapView(*screen.editor->doneButtonItem()->view());
    EXPECT_EQ(seen(), "Planning 9.12 12:00 Calendar");

    // Two hours later, in another calendar.
    tapFirstRow(2);
    ASSERT_TRUE(screen.editorOnTop());
    EXPECT_EQ(screen.editor->titleField()->text(), "Planning");
    nextHour();
    nextHour();
    pickCalendar("Work");
    screen.tapView(*screen.editor->doneButtonItem()->view());
    EXPECT_EQ(seen(), "Planning 9.12 14:00 Work");

    // Every week, in the full editor.
    tapFirstRow(2);
    screen.tapView(*screen.editor->moreButton());
    EventEditFormController& form = screen.editor->nativeEditor()->form();
    tapRow(form, 2, 0);
    auto list = std::dynamic_pointer_cast<EventEditOptionListController>(
        screen.editor->nativeEditor()->topViewController());
    ASSERT_TRUE(list);
    tapRow(*list, 0, 2);
    EXPECT_EQ(form.valueText(EventEditFormController::FormRow::Repeat), "Every Week");
    screen.tapView(*form.doneButtonItem()->view());
    EXPECT_EQ(seen(), "Planning 9.12 14:00 Work, Planning 16.12 14:00 Work, Planning 23.12 14:00 Work, "
                      "Planning 30.12 14:00 Work, Planning 6.1 14:00 Work, Planning 13.1 14:00 Work, "
                      "Planning 20.1 14:00 Work, Planning 27.1 14:00 Work");

    // Next week's occurrence to Friday, for this event only.
    pageForward();
    EXPECT_EQ(screen.screen->currentWeek(), Week::currentWeek().addWeeks(1));
    tapFirstRow(2);
    ASSERT_TRUE(screen.editorOnTop());
    EXPECT_EQ(screen.editor->event()->startDate(), WeekScreen::at(2026, 12, 16, 14));
    screen.tapView(*screen.editor->moveButton());
    screen.tapDay(4);
    ASSERT_TRUE(screen.editorOnTop());
    screen.tapView(*screen.editor->doneButtonItem()->view());
    ASSERT_TRUE(screen.editor->saveChoice());
    screen.chooseInSheet(*screen.editor->saveChoice(), "Save for this event");
    EXPECT_EQ(seen(), "Planning 9.12 14:00 Work, Planning 18.12 14:00 Work, Planning 23.12 14:00 Work, "
                      "Planning 30.12 14:00 Work, Planning 6.1 14:00 Work, Planning 13.1 14:00 Work, "
                      "Planning 20.1 14:00 Work, Planning 27.1 14:00 Work");

    // All future ones from the week after.
    pageForward();
    tapFirstRow(2);
    ASSERT_TRUE(screen.editorOnTop());
    EXPECT_EQ(screen.editor->event()->startDate(), WeekScreen::at(2026, 12, 23, 14));
    screen.tapView(*screen.editor->deleteButton());
    const std::shared_ptr<ActionSheet> sheet = screen.shownSheet();
    ASSERT_TRUE(sheet);
    screen.chooseInSheet(*sheet, "Delete all future events");
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_EQ(seen(), "Planning 9.12 14:00 Work, Planning 18.12 14:00 Work");
}
