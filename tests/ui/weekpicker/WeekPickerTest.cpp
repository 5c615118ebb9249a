#include "QtPrinters.h"
#include "kit/NavigationController.h"
#include "kit/ScrollView.h"
#include "ui/paging/DrawDelegatingView.h"
#include "ui/paging/PageScrollView.h"
#include "ui/week/DateTitleView.h"
#include "ui/week/DateTitleWeekButtonView.h"
#include "ui/week/WeekScreenTestSupport.h"
#include "ui/weekpicker/MonthsPeriodItem.h"
#include "ui/weekpicker/WeekPickerController.h"
#include "ui/weekpicker/WeekPickerMonthView.h"
#include "ui/weekpicker/WeekPickerPageView.h"
#include "ui/weekpicker/WeekPickerScrollView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"
#include "kit/BarButtonItem.h"
#include "kit/ImageView.h"
#include "kit/InterfaceOrientation.h"
#include "kit/NavigationItem.h"

namespace {

// The week screen on the harness (today is Tuesday 8 December 2026, weeks from Monday) with the
// week picker opened by a tap on the title.
class WeekPickerTest : public testing::Test {
protected:
    void SetUp() override {
        InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Portrait);
        week.launch();
    }
    void TearDown() override { InterfaceOrientation::setInterfaceOrientation(m_previousOrientation); }

    const int m_previousOrientation = InterfaceOrientation::interfaceOrientation();

    void open() {
        week.harness.tap(Point(160, 42));
        week.settle();
        ASSERT_TRUE(picker() && picker()->visible());
    }
    WeekPickerController* picker() const { return week.screen->weekPickerController().get(); }
    WeekPickerScrollView& scroller() const { return *picker()->infiniteScrollView(); }

    // The mini months of the pages left to right, "yyyy-mm" each, as far as they are in view.
    QString monthsInView() const {
        QStringList months;
        for (const auto& page : scroller().pageViews()) {
            const Rect frame = page->convertRectToView(page->bounds(), &scroller());
            if (frame.maxX() <= 1 || frame.x() >= scroller().bounds().width() - 1) {
                continue;
            }
            for (const auto& monthView : static_cast<WeekPickerPageView&>(*page).monthViews()) {
                months << monthView->month()->description();
            }
        }
        return months.join(QLatin1Char(' '));
    }
    WeekPickerMonthView& monthView(int year, int month) const {
        for (const auto& page : scroller().pageViews()) {
            for (const auto& view : static_cast<WeekPickerPageView&>(*page).monthViews()) {
                if (view->month() == Month(year, month)) {
                    return *view;
                }
            }
        }
        throw std::runtime_error("month not shown");
    }
    // The window point of a week row of a shown month.
    Point rowPoint(int year, int month, int row) const {
        WeekPickerMonthView& view = monthView(year, month);
        return view.convertPointToView(Point(70, 37 + 20.0 * row), nullptr);
    }
    QString title() const {
        const DateTitleView& title = *week.screen->dateTitleView();
        return title.week() && title.weekButtonView()->alpha() > 0 ? title.week()->description()
                                                                   : title.text();
    }
    // The holiday bars the month's page has for it.
    std::size_t holidayBars(int year, int month) const {
        for (const auto& page : scroller().pageViews()) {
            for (const auto& view : static_cast<WeekPickerPageView&>(*page).monthViews()) {
                if (view->month() == Month(year, month)) {
                    return static_cast<WeekPickerPageView&>(*page)
                        .holidayEntriesForMonth(Month(year, month))
                        .size();
                }
            }
        }
        return 99;
    }
    BarButtonItem& goButton() const { return *week.screen->navigationItem()->rightBarButtonItem(); }

    WeekScreen week;
};

} // namespace

TEST_F(WeekPickerTest, OpensOverTheWeekOnItsMonths) {
    open();
    EXPECT_EQ(title(), "Pick a Week");
    EXPECT_EQ(week.screen->navigationItem()->leftBarButtonItem()->title(), "Cancel");
    EXPECT_EQ(goButton().title(), "Go");
    EXPECT_FALSE(goButton().enabled());
    EXPECT_FALSE(week.screen->scrollView()->scrollEnabled());
    EXPECT_EQ(monthsInView(), "2026-10 2026-11 2026-12 2027-01 2027-02 2027-03");
    WeekPickerMonthView& december = monthView(2026, 12);
    EXPECT_TRUE(december.permanentlyHighlighted());
    EXPECT_FALSE(monthView(2026, 11).permanentlyHighlighted());
    EXPECT_EQ(december.leftTitle(), "December");
    // Today circled in the second row, Tuesday's column; the displayed week outlined.
    EXPECT_FALSE(december.currentDayView()->hidden());
    EXPECT_EQ(december.currentDayView()->frame().origin(), Point(19 + 6 + 2, 46));
    EXPECT_FALSE(december.initialWeekHighlightView()->hidden());
    EXPECT_EQ(december.initialWeekHighlightView()->frame(), Rect(3, 47, 141, 20));

    // The title closes it again and the week comes back.
    week.harness.tap(Point(160, 42));
    week.settle();
    EXPECT_FALSE(picker()->visible());
    EXPECT_EQ(picker()->view()->superview(), nullptr);
    EXPECT_EQ(week.screen->navigationItem()->leftBarButtonItem(), week.screen->todayButton());
    EXPECT_FALSE(week.screen->todayButton()->enabled());
    EXPECT_EQ(title(), "2026-12-07");
    EXPECT_TRUE(week.screen->scrollView()->scrollEnabled());
}

TEST_F(WeekPickerTest, SelectsByTapAndDragAndJumpsOnASecondTap) {
    open();
    week.harness.tap(rowPoint(2026, 11, 2));
    week.settle();
    EXPECT_EQ(title(), "2026-11-09");
    EXPECT_TRUE(goButton().enabled());
    EXPECT_FALSE(monthView(2026, 11).selectedWeekHighlightView()->hidden());

    // A drag moves the selection row by row and on into December.
    week.harness.drag(rowPoint(2026, 11, 3), rowPoint(2026, 12, 1), 0.5, 12);
    week.settle();
    EXPECT_EQ(picker()->selectedWeek()->description(), "2026-12-07");
    EXPECT_TRUE(monthView(2026, 11).selectedWeekHighlightView()->hidden());
    EXPECT_FALSE(monthView(2026, 12).selectedWeekHighlightView()->hidden());
    // On the selected row, today's circle turns white.
    EXPECT_FALSE(monthView(2026, 12).whiteCurrentDayView()->hidden());
    EXPECT_TRUE(monthView(2026, 12).currentDayView()->hidden());

    week.harness.tap(rowPoint(2027, 1, 3));
    week.settle();
    EXPECT_EQ(picker()->selectedWeek()->description(), "2027-01-18");
    // A second tap on the selected week jumps there.
    week.harness.tap(rowPoint(2027, 1, 3));
    week.settle();
    EXPECT_FALSE(picker()->visible());
    EXPECT_EQ(week.screen->currentWeek().description(), "2027-01-18");
    EXPECT_EQ(title(), "2027-01-18");
    EXPECT_TRUE(week.screen->todayButton()->enabled());
}

TEST_F(WeekPickerTest, TheLowerPartOfAMonthHeaderSelectsTheFirstRow) {
    open();
    WeekPickerMonthView& november = monthView(2026, 11);
    week.harness.tap(november.convertPointToView(Point(70, 5), nullptr));
    week.settle();
    EXPECT_FALSE(picker()->selectedWeek());
    week.harness.tap(november.convertPointToView(Point(70, 15), nullptr));
    week.settle();
    ASSERT_TRUE(picker()->selectedWeek());
    EXPECT_EQ(picker()->selectedWeek()->description(), "2026-10-26");
}

TEST_F(WeekPickerTest, GoJumpsToTheSelectionOnlyWhileItIsInView) {
    open();
    week.harness.tap(rowPoint(2026, 10, 0));
    week.settle();
    EXPECT_TRUE(goButton().enabled());

    scroller().setCurrentPageItem(PageItem(Quarter(2027, 2)), true);
    week.settle();
    EXPECT_EQ(monthsInView(), "2027-04 2027-05 2027-06 2027-07 2027-08 2027-09");
    EXPECT_EQ(title(), "Pick a Week");
    EXPECT_FALSE(goButton().enabled());

    scroller().setCurrentPageItem(PageItem(Quarter(2026, 3)), true);
    week.settle();
    EXPECT_EQ(title(), "2026-09-28");
    ASSERT_TRUE(goButton().enabled());
    week.screen->handleWeekPickerGoButton();
    week.settle();
    EXPECT_FALSE(picker()->visible());
    EXPECT_EQ(week.screen->currentWeek().description(), "2026-09-28");

    // Cancel jumps nowhere.
    open();
    week.harness.tap(rowPoint(2026, 10, 3));
    week.screen->handleWeekPickerCancelButton();
    week.settle();
    EXPECT_EQ(week.screen->currentWeek().description(), "2026-09-28");
}

TEST_F(WeekPickerTest, RotatingKeepsTheSelectionAndTheDrawnMonths) {
    open();
    week.harness.tap(rowPoint(2027, 2, 1));
    week.settle();
    const WeekPickerMonthView* january = &monthView(2027, 1);

    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeRight);
    picker()->configureForLandscape();
    week.settle();
    EXPECT_EQ(picker()->view()->frame(), Rect(0, 0, 480, 300));
    // The pair of the quarter's last month in the middle.
    EXPECT_EQ(monthsInView(), "2026-09 2026-10 2026-11 2026-12 2027-01 2027-02");
    EXPECT_EQ(&monthView(2027, 1), january);
    EXPECT_EQ(picker()->selectedWeek()->description(), "2027-02-08");
    EXPECT_FALSE(monthView(2027, 2).selectedWeekHighlightView()->hidden());
    EXPECT_EQ(title(), "2027-02-08");

    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Portrait);
    picker()->configureForPortrait();
    week.settle();
    EXPECT_EQ(monthsInView(), "2026-10 2026-11 2026-12 2027-01 2027-02 2027-03");
    EXPECT_EQ(&monthView(2027, 1), january);
    EXPECT_EQ(title(), "2027-02-08");
}

TEST_F(WeekPickerTest, HolidaysFollowTheStore) {
    open();
    EXPECT_EQ(holidayBars(2026, 12), 0u);
    const auto work = week.addCalendar("Work", Color::fromRgb255(41, 98, 196));
    week.addEvent("Winter break", WeekScreen::at(2026, 12, 28), WeekScreen::at(2027, 1, 5), true, work);
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    week.settle();
    EXPECT_EQ(holidayBars(2026, 12), 1u);
    EXPECT_EQ(holidayBars(2027, 1), 2u);
}

namespace {

// The darkest channel of the pixels in the rectangle of the image.
double darkestIn(const Image& image, const Rect& rect) {
    double darkest = 1.0;
    for (double y = rect.y(); y < rect.maxY(); y += 0.5) {
        for (double x = rect.x(); x < rect.maxX(); x += 0.5) {
            const Color color = image.colorAtPoint(Point(x, y));
            darkest = std::min({darkest, color.red(), color.green(), color.blue()});
        }
    }
    return darkest;
}

// Grey ("g") or black ("b") per day cell of the first week row of the month.
QString firstRowShades(int year, int month) {
    const auto view = WeekPickerMonthView::create(Rect(0, 0, 146, 131));
    view->setMonth(Month(year, month));
    const Image image = view->renderToImage(2.0);
    QString shades;
    for (int column = 0; column < 7; ++column) {
        const double darkest = darkestIn(image, Rect(6 + 19.0 * column, 30, 16, 16));
        shades += darkest < 0.25 ? QLatin1Char('b') : darkest < 0.75 ? QLatin1Char('g') : QLatin1Char('?');
    }
    return shades;
}

} // namespace

TEST(WeekPickerMonthViewTest, DaysOfTheNeighbouringMonthsAreGrey) {
    ScreenHarness harness;
    // Weeks from Monday: January 2025 begins on Wednesday 1 after the leap year 2024, January
    // 2026 on Thursday 1, January 2027 on Friday 1.
    EXPECT_EQ(firstRowShades(2025, 1), "ggbbbbb");
    EXPECT_EQ(firstRowShades(2026, 1), "gggbbbb");
    EXPECT_EQ(firstRowShades(2021, 1), "ggggbbb");
    // March 2026 begins on Sunday.
    EXPECT_EQ(firstRowShades(2026, 3), "ggggggb");
}

TEST_F(WeekPickerTest, Pictures) {
    const auto home = week.addCalendar("Home", Color::fromRgb255(62, 160, 84));
    const auto work = week.addCalendar("Work", Color::fromRgb255(41, 98, 196));
    week.addEvent("Autumn holidays", WeekScreen::at(2026, 10, 26), WeekScreen::at(2026, 10, 31), true, home);
    week.addEvent("Conference", WeekScreen::at(2026, 11, 18), WeekScreen::at(2026, 11, 21), true, work);
    week.addEvent("Winter break", WeekScreen::at(2026, 12, 28), WeekScreen::at(2027, 1, 6), true, home);
    week.addEvent("Ski trip", WeekScreen::at(2027, 2, 12), WeekScreen::at(2027, 2, 17), true, work);
    week.harness.tap(Point(160, 42));
    week.harness.runUntilIdle();
    week.harness.advance(0.12);
    SamplePictures::keep(week.harness.render(), "week-picker-opening.png");
    week.settle();
    week.harness.tap(rowPoint(2026, 11, 2));
    week.settle();
    EXPECT_EQ(holidayBars(2026, 12), 1u);
    EXPECT_EQ(holidayBars(2027, 1), 2u);
    EXPECT_EQ(holidayBars(2027, 2), 2u);
    SamplePictures::keep(week.harness.render(), "week-picker-portrait.png");

    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeRight);
    picker()->configureForLandscape();
    week.settle();
    EXPECT_EQ(holidayBars(2027, 2), 2u);
    SamplePictures::keep(week.harness.render(*picker()->view()), "week-picker-landscape.png");
}

TEST_F(WeekPickerTest, AClosedPickerGoesOnAMemoryWarningAndComesBackOnUse) {
    open();
    ViewController::sendMemoryWarningToAll();
    EXPECT_NE(picker(), nullptr) << "an open picker stays";
    week.screen->handleWeekPickerCancelButton();
    week.settle();
    ViewController::sendMemoryWarningToAll();
    EXPECT_EQ(picker(), nullptr);
    open();
    week.harness.tap(rowPoint(2026, 12, 3));
    week.settle();
    EXPECT_EQ(title(), "2026-12-21");
}
