#include "ui/week/WeekScreenTestSupport.h"

#include "bench/GeneratedEvents.h"
#include "kit/Button.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"
#include "ui/daybox/DayView.h"
#include "ui/search/SearchBarView.h"
#include "ui/search/SearchProgressView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/search/SearchTextField.h"
#include "ui/week/DayViewController.h"

#include <QStringList>

#include <Qt>

namespace {

class SearchBarViewTest : public testing::Test {
protected:
    void TearDown() override {
        SearchResultHighlightView::selectedResultInstance()->hide();
        SearchResultHighlightView::selectedResultInstance()->setSearchBackgroundView(nullptr);
    }

    void launch() { week.launch(); }

    bool press(int key, int modifiers = 0) {
        KeyInput input;
        input.key = key;
        input.modifiers = modifiers;
        const bool used = week.harness.window().keyInput(input);
        // Long enough for the slides and scrolls, short of the two seconds a message stays.
        week.settle(1.0);
        return used;
    }
    void openSearch() { press(Qt::Key_F, Qt::ControlModifier); }
    void type(const QString& text) {
        bar().searchTextField()->insertText(text);
        week.harness.runUntilIdle();
    }
    // A new query set while the field is not editing.
    void replaceQuery(const QString& text) {
        bar().searchTextField()->setText(text);
        bar().searchQueryChanged();
    }

    SearchBarView& bar() { return *week.screen->searchBar(); }
    SearchProgressView& messageBox() { return *bar().searchProgressView(); }
    QString message() {
        return messageBox().superview() ? messageBox().textLabel()->text() : QStringLiteral("(none)");
    }
    const std::shared_ptr<SearchResultHighlightView>& bubble() {
        return SearchResultHighlightView::selectedResultInstance();
    }
    // The displayed week, counted from the current one, and the message shown or else the
    // marked title ("+2 Yoga").
    QString shown() {
        const QString weekText =
            QString::asprintf("%+d ", Week::currentWeek().weeksTo(week.screen->currentWeek()));
        const bool marked = !messageBox().superview() && bubble()->superview();
        return weekText + (marked ? bubble()->titleLabel()->text() : message());
    }

    WeekScreen week;
};

} // namespace

TEST_F(SearchBarViewTest, OpensAboveTheKeyboardAndClosesLikeATapOnTheDimmedArea) {
    launch();
    openSearch();
    ASSERT_TRUE(week.screen->searchModeActivated());
    Window& window = week.harness.window();
    const double keyboardHeight = Keyboard::heightForLandscape(false);
    EXPECT_TRUE(bar().searchTextField()->isFirstResponder());
    EXPECT_DOUBLE_EQ(bar().keyboardHeight(), keyboardHeight);
    EXPECT_DOUBLE_EQ(window.contentRaise(), keyboardHeight);
    // The keyboard keeps its place at the bottom of the window while the content is raised.
    EXPECT_DOUBLE_EQ(window.keyboard().frame().maxY(), window.bounds().height());
    EXPECT_DOUBLE_EQ(bar().frame().y(), SearchBarView::restY - SearchBarView::slideHeight);
    EXPECT_EQ(bar().backgroundView()->superview(), week.screen->scrollView());
    EXPECT_DOUBLE_EQ(bar().backgroundView()->alpha(), 1.0);
    EXPECT_FALSE(week.screen->scrollView()->scrollEnabled());
    EXPECT_FALSE(bar().nextButton()->enabled());
    type("a");
    EXPECT_TRUE(bar().previousButton()->enabled() && bar().nextButton()->enabled());
    SamplePictures::keep(week.harness.render(), "search-open-with-keyboard.png");
    bar().searchTextField()->deleteBackward();
    EXPECT_FALSE(bar().previousButton()->enabled() || bar().nextButton()->enabled());

    // The field never offers the edit menu.
    for (const char* action : {"select", "selectAll", "paste", "copy"}) {
        EXPECT_FALSE(bar().searchTextField()->canPerformAction(action)) << action;
    }

    EXPECT_TRUE(press(Qt::Key_Escape));
    EXPECT_FALSE(week.screen->searchModeActivated());
    EXPECT_DOUBLE_EQ(window.contentRaise(), 0.0);
    EXPECT_FALSE(bar().superview());
    EXPECT_FALSE(bar().backgroundView()->superview());
    EXPECT_TRUE(week.screen->scrollView()->scrollEnabled());
}

TEST_F(SearchBarViewTest, MessagesAndTheirBox) {
    launch();
    openSearch();
    type("nothing like this");
    EXPECT_TRUE(press(Qt::Key_Return));
    EXPECT_EQ(message(), "No results");
    SamplePictures::keep(week.harness.render(), "search-no-results.png");
    EXPECT_TRUE(press(Qt::Key_Return, Qt::ShiftModifier));
    EXPECT_EQ(message(), "No more results");
    week.settle(2.5);
    EXPECT_EQ(message(), "(none)");

    // While a query waits for the store the dimmed area does not close the search.
    KeyInput next;
    next.key = Qt::Key_Down;
    week.harness.window().keyInput(next);
    ASSERT_TRUE(bar().queryingDatabase());
    bar().closeSearch(true);
    EXPECT_TRUE(week.screen->searchModeActivated());
    week.settle();
    EXPECT_FALSE(bar().queryingDatabase());

    // The box: text width + 32 wide, or spinner width + 32 for an empty text, centred on (160, 257).
    SearchProgressView& box = messageBox();
    const double spinner = box.activityIndicatorView()->frame().width();
    box.setMessage("Searching", true);
    const double textWidth = box.textLabel()->frame().width();
    EXPECT_DOUBLE_EQ(box.frame().width(), textWidth + 32);
    EXPECT_FALSE(box.activityIndicatorView()->hidden());
    EXPECT_DOUBLE_EQ(box.frame().midX(), 160.0);
    EXPECT_DOUBLE_EQ(box.frame().midY(), 257.0);
    box.show();
    week.settle(0.5);
    SamplePictures::keep(week.harness.render(), "search-spinner-box.png");
    box.setMessage("", true);
    EXPECT_DOUBLE_EQ(box.frame().width(), spinner + 32);
    EXPECT_DOUBLE_EQ(box.frame().midX(), 160.0);
    EXPECT_DOUBLE_EQ(box.frame().midY(), 257.0);
    box.setMessage("No results", false);
    EXPECT_TRUE(box.activityIndicatorView()->hidden());
}

TEST_F(SearchBarViewTest, BubbleOfABirthdayStandsFurtherRightWithAShorterTitle) {
    SearchResultHighlightView bubble;
    const QString longTitle = "A title far too long for any bubble to hold in one line";
    bubble.setTime(std::nullopt, longTitle, false);
    bubble.showOnTopOfView(Point(10, 20));
    EXPECT_DOUBLE_EQ(bubble.frame().x(), 10.0);
    EXPECT_DOUBLE_EQ(bubble.titleLabel()->frame().maxX(), 8 + 148.0);
    bubble.setTime(std::nullopt, longTitle, true);
    bubble.showOnTopOfView(Point(10, 20));
    EXPECT_DOUBLE_EQ(bubble.frame().x(), 29.0);
    EXPECT_DOUBLE_EQ(bubble.titleLabel()->frame().width(), 129.0);
    EXPECT_DOUBLE_EQ(bubble.frame().width(), bubble.titleLabel()->frame().maxX() + 10);
}

TEST_F(SearchBarViewTest, StepsThroughAWeeklyEventAcrossTheYearInBothDirections) {
    launch();
    week.addWeeklyEvent("Yoga", WeekScreen::at(2026, 12, 17, 18));
    week.settle();
    openSearch();
    type("yoga");
    QStringList forward;
    press(Qt::Key_Return);
    for (int step = 0; step < 4; ++step) {
        forward << shown();
        press(Qt::Key_Down);
    }
    forward << shown();
    EXPECT_EQ(forward.join(", ").toStdString(), "+1 Yoga, +2 Yoga, +3 Yoga, +4 Yoga, +5 Yoga");
    SamplePictures::keep(week.harness.render(), "search-bubble-over-timed-row.png");
    QStringList backward;
    for (int step = 0; step < 4; ++step) {
        press(Qt::Key_Up);
        backward << shown();
    }
    EXPECT_EQ(backward.join(", ").toStdString(), "+4 Yoga, +3 Yoga, +2 Yoga, +1 Yoga");
}

TEST_F(SearchBarViewTest, AnswerToAnEarlierQueryIsNeverShown) {
    launch();
    week.addEvent("Dentist", WeekScreen::at(2027, 3, 2, 9), WeekScreen::at(2027, 3, 2, 10));
    week.settle();
    openSearch();
    type("dentist");
    KeyInput returnKey;
    returnKey.key = Qt::Key_Return;
    week.harness.window().keyInput(returnKey);
    // The query changes before the answer has been delivered.
    replaceQuery("zahnarzt");
    week.settle();
    EXPECT_EQ(shown(), "+0 (none)");
    EXPECT_TRUE(bar().nextButton()->enabled());
    press(Qt::Key_Return);
    EXPECT_EQ(shown(), "+0 No results");
}

TEST_F(SearchBarViewTest, ResultsFollowTheStore) {
    launch();
    const auto concert = [this](int year, int month, int day) {
        return week.addEvent("Concert", WeekScreen::at(year, month, day, 20),
                             WeekScreen::at(year, month, day, 22));
    };
    concert(2026, 12, 16);
    const auto removed = concert(2027, 1, 20);
    concert(2027, 2, 17);
    week.settle();
    openSearch();
    type("concert");
    press(Qt::Key_Return);
    EXPECT_EQ(shown(), "+1 Concert");
    // Another program removes the next concert.
    StoreError error;
    ASSERT_TRUE(week.harness.eventStore().removeEvent(removed, EKSpan::ThisEvent, &error));
    // The change is announced once the user has been idle for a while.
    week.settle(15.0);
    press(Qt::Key_Down);
    EXPECT_EQ(shown(), "+10 Concert");
    press(Qt::Key_Down);
    EXPECT_EQ(shown(), "+10 No more results");
    press(Qt::Key_Up);
    EXPECT_EQ(shown(), "+1 Concert");
}

TEST_F(SearchBarViewTest, BubbleOverABirthdayRowAndOverAFullDayBox) {
    launch();
    week.addBirthday("Ada Lovelace", "1815-12-10");
    for (int hour = 8; hour < 14; ++hour) {
        const QString title =
            hour == 13 ? QStringLiteral("Late review") : QStringLiteral("Slot %1").arg(hour);
        week.addEvent(title, WeekScreen::at(2026, 12, 9, hour), WeekScreen::at(2026, 12, 9, hour, 30));
    }
    week.settle();
    openSearch();
    type("lovelace");
    press(Qt::Key_Return);
    ASSERT_EQ(shown(), "+0 Ada Lovelace");
    EXPECT_TRUE(bubble()->birthday());
    SamplePictures::keep(week.harness.render(), "search-bubble-over-birthday-row.png");

    // The sixth event of the Wednesday has no row: the bubble takes the last row's place.
    replaceQuery("late review");
    press(Qt::Key_Return);
    ASSERT_EQ(shown(), "+0 Late review");
    const auto page = week.screen->weekViews()[1];
    std::shared_ptr<DayViewController> wednesday;
    for (const auto& day : page->dayViewControllers()) {
        if (day->displayedDate() == WeekScreen::at(2026, 12, 9)) {
            wednesday = day;
        }
    }
    ASSERT_TRUE(wednesday);
    const Point corner =
        wednesday->dayView()->convertPointToView(Point(0, 106), bar().backgroundView().get());
    EXPECT_EQ(bubble()->frame().origin(), Point(corner.x() - 2, corner.y() - 7));
    SamplePictures::keep(week.harness.render(), "search-bubble-over-day-box.png");
    press(Qt::Key_Escape);
    EXPECT_FALSE(bubble()->superview());
}

TEST_F(SearchBarViewTest, FindsTheOneMatchYearsAheadInTheGeneratedStore) {
    launch();
    EKEventStore& store = week.harness.eventStore();
    StoreError error;
    ASSERT_TRUE(store.saveEvents(GeneratedEvents::all(store, store.defaultCalendarForNewEvents()), &error))
        << error.localizedDescription.toStdString();
    week.addEvent("Xylophone recital", WeekScreen::at(2029, 5, 16, 19), WeekScreen::at(2029, 5, 16, 21));
    week.settle();
    openSearch();
    type("xylophone");
    press(Qt::Key_Return);
    const Week target = DateUtilities::week(WeekScreen::at(2029, 5, 16));
    EXPECT_EQ(week.screen->currentWeek(), target);
    EXPECT_EQ(bubble()->titleLabel()->text(), "Xylophone recital");
    EXPECT_TRUE(bubble()->superview());
    press(Qt::Key_Down);
    EXPECT_EQ(message(), "No more results");
    EXPECT_EQ(week.screen->currentWeek(), target);
}

TEST_F(SearchBarViewTest, TwoResultsAtOneMomentAreEachShownOnceAcrossAStoreChange) {
    launch();
    week.addEvent("Concert one", WeekScreen::at(2026, 12, 16, 20), WeekScreen::at(2026, 12, 16, 22));
    week.addEvent("Concert two", WeekScreen::at(2026, 12, 16, 20), WeekScreen::at(2026, 12, 16, 22));
    week.addEvent("Concert three", WeekScreen::at(2027, 1, 20, 20), WeekScreen::at(2027, 1, 20, 22));
    week.settle();
    openSearch();
    type("concert");
    press(Qt::Key_Return);
    const QString first = shown();
    press(Qt::Key_Down);
    const QString second = shown();
    EXPECT_NE(first, second);
    // Another program adds an event; the search starts again from the week on display.
    week.addEvent("Rehearsal", WeekScreen::at(2026, 12, 14, 18), WeekScreen::at(2026, 12, 14, 19));
    week.settle(15.0);
    press(Qt::Key_Down);
    EXPECT_EQ(shown(), "+6 Concert three");
}

TEST_F(SearchBarViewTest, ControlFWhileTypingLeavesNoSpinner) {
    launch();
    openSearch();
    type("conc");
    EXPECT_EQ(message(), "(none)");
    openSearch();
    EXPECT_EQ(message(), "(none)");
    EXPECT_TRUE(bar().searchTextField()->isFirstResponder());
}

TEST_F(SearchBarViewTest, ControlFOverTheEditorLeavesTheWeekAlone) {
    launch();
    // A tap on an empty part of Monday opens the editor for a new event over the week.
    week.harness.tap(Point(80, 150));
    week.settle();
    ASSERT_NE(week.navigation->topViewController(), week.screen);
    openSearch();
    EXPECT_FALSE(week.screen->searchBar() && week.screen->searchBar()->superview());
}
