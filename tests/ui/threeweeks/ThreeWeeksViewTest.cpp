#include "QtPrinters.h"
#include "SamplePictures.h"
#include "ui/week/WeekScreenTestSupport.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/Day.h"
#include "core/calendar/Month.h"
#include "kit/ImageView.h"
#include "ui/paging/InfiniteScrollView.h"
#include "ui/threeweeks/MiniWeekDayContentView.h"
#include "ui/threeweeks/MiniWeekDayView.h"
#include "ui/threeweeks/MiniWeekView.h"
#include "ui/threeweeks/ThreeWeeksRulerView.h"
#include "ui/threeweeks/ThreeWeeksView.h"
#include "ui/threeweeks/WeekIndicatorView.h"

#include <QStringList>

#include <cmath>

namespace {

// The mini days' requests for a day list.
class MiniDayListRequests final : public BusReceiver {
public:
    MiniDayListRequests() {
        ApplicationEventDispatcher::sharedInstance().registerTarget<ListEventsEvent>(
            this, [this](const std::shared_ptr<ListEventsEvent>& event) { requests.push_back(event); });
    }
    std::vector<std::shared_ptr<ListEventsEvent>> requests;
};

QString colorText(const std::optional<Color>& color) {
    if (!color) {
        return QStringLiteral("-");
    }
    return QStringLiteral("%1,%2,%3")
        .arg(color->red(), 0, 'f', 2)
        .arg(color->green(), 0, 'f', 2)
        .arg(color->blue(), 0, 'f', 2);
}

// "type time title colour" for each entry of each weekday, days separated by " | ".
QString pageDataText(const ThreeWeeksWeekEvents& weekEvents) {
    QStringList days;
    for (const ThreeWeeksDayEvents& day : weekEvents) {
        QStringList entries;
        for (const ThreeWeeksEventEntry& entry : day) {
            entries << QStringLiteral("%1 %2 %3 %4")
                           .arg(static_cast<int>(entry.type))
                           .arg(entry.time.value_or(QStringLiteral("-")), entry.title,
                                colorText(entry.color));
        }
        days << entries.join(QStringLiteral(", "));
    }
    return days.join(QStringLiteral(" | "));
}

// The three-weeks view alone on the harness (today is Tuesday 8 December 2026, weeks from
// Monday), showing the week of 7 December in the middle.
class ThreeWeeksViewTest : public testing::Test {
protected:
    void SetUp() override {
        // The landscape view is wider than the portrait window, whose touches reach x 320.
        // Weeks from Monday, as the week screen sets them for the default weekend.
        Week::setFirstWeekdayOfWeek(2);
        auto screen = std::make_shared<View>(Rect(0, 0, 320, 460));
        week.harness.launch(screen);
        view = ThreeWeeksView::create(Rect(0, 0, 480, 268));
        screen->addSubview(view);
        view->setCurrentWeek(december7());
        week.settle();
    }

    void TearDown() override { Week::setFirstWeekdayOfWeek(m_previousFirstWeekday); }

    static Date at(int day, int hour, int minute = 0) { return WeekScreen::at(2026, 12, day, hour, minute); }

    MiniWeekDayView& dayView(const Day& day) const {
        for (const auto& page : view->infiniteScrollView()->pageViews()) {
            for (const auto& mini : static_cast<MiniWeekView&>(*page).dayViews()) {
                if (mini->day() == day) {
                    return *mini;
                }
            }
        }
        throw std::runtime_error("day not shown");
    }

    // The day's lines as drawn: titles, and "[n more]" for the more-events line, each "@y".
    QString linesText(const Day& day) const {
        QStringList lines;
        for (const MiniWeekDayContentView::Line& line : dayView(day).contentView()->lines()) {
            const QString text =
                line.entry ? line.entry->title : QStringLiteral("[%1 more]").arg(line.moreEvents);
            lines << QStringLiteral("%1@%2").arg(text).arg(line.y);
        }
        return lines.join(QLatin1Char(' '));
    }

    Point windowCenter(const View& mini) const {
        return mini.convertRectToView(mini.bounds(), nullptr).center();
    }

    static Week december7() { return Day(2026, 12, 7).week(); }
    const int m_previousFirstWeekday = Week::firstWeekdayOfWeek();
    WeekScreen week;
    std::shared_ptr<ThreeWeeksView> view;
};

} // namespace

TEST_F(ThreeWeeksViewTest, PageDataPlacesEventsOnTheirDaysWithContinuationLines) {
    const auto work = week.addCalendar("Work", Color(0.2, 0.4, 0.6));
    week.addEvent("Night shift", at(8, 22), at(10, 1), false, work);
    week.addEvent("Trip", at(4, 0), at(8, 23, 59), true, work);
    week.addBirthday("Ada Lovelace", "1990-12-11");
    week.settle();

    // Timed colours keep 70% of the distance to white, all-day ones 30%.
    EXPECT_EQ(pageDataText(ThreeWeeksView::loadDataForWeek(december7())),
              "4 - Trip 0.76,0.82,0.88"
              " | 4 - Trip 0.76,0.82,0.88, 0 10p Night shift 0.44,0.58,0.72"
              " | 3 10p Night shift 0.44,0.58,0.72"
              " | 3 10p Night shift 0.44,0.58,0.72"
              " | 2 - Ada Lovelace -");

    ThreeWeeksWeekEvents grown;
    ThreeWeeksView::getOrCreateDayEventsInWeekEvents(grown, 3).push_back(ThreeWeeksEventEntry{});
    ASSERT_EQ(grown.size(), 4u);
    EXPECT_TRUE(grown[0].empty() && grown[2].empty());
    EXPECT_EQ(&ThreeWeeksView::getOrCreateDayEventsInWeekEvents(grown, 3), &grown[3]);
    EXPECT_EQ(grown[3].size(), 1u);
}

TEST_F(ThreeWeeksViewTest, BusyDaysEndInAMoreEventsLine) {
    for (int i = 0; i < 5; ++i) {
        week.addEvent(QStringLiteral("T%1").arg(i), at(8, 8 + i), at(8, 8 + i, 30));
    }
    for (int i = 0; i < 3; ++i) {
        week.addEvent(QStringLiteral("S%1").arg(i), at(12, 8 + i), at(12, 8 + i, 30));
    }
    week.addEvent("Walk", at(11, 7), at(11, 8));
    week.addEvent("Holiday in Rome", at(3, 0), at(9, 23, 59), true);
    week.addBirthday("Ada Lovelace", "1990-12-10");
    week.settle();

    EXPECT_EQ(linesText(Day(2026, 12, 8)), "Holiday in Rome@15 T0@27 T1@39 T2@51 [2 more]@63");
    EXPECT_EQ(linesText(Day(2026, 12, 12)), "S0@15 [2 more]@26");
    EXPECT_EQ(linesText(Day(2026, 12, 11)), "Walk@15");
    EXPECT_EQ(linesText(Day(2026, 12, 13)), "");
    SamplePictures::keep(view->renderToImage(2.0), "threeweeks-busy-week.png");
}

TEST_F(ThreeWeeksViewTest, TheRulerSplitsWhereTheNextMonthBegins) {
    ThreeWeeksRulerView ruler(Rect(0, 0, 480, 30));
    // 1 April 2027 is the fourth day of its page.
    ruler.positionOnWeek(Day(2027, 3, 29).week(), 161);
    EXPECT_EQ(ruler.leftMonth(), Month(2027, 3));
    EXPECT_EQ(ruler.rightMonth(), Month(2027, 4));
    EXPECT_DOUBLE_EQ(ruler.monthSplitX(), 161 + 161 * 0.5 - 1);
    // December began on the second day of the page before.
    ruler.positionOnWeek(december7(), 161);
    EXPECT_EQ(ruler.leftMonth(), Month(2026, 11));
    EXPECT_EQ(ruler.rightMonth(), Month(2026, 12));
    EXPECT_DOUBLE_EQ(ruler.monthSplitX(), 161 - 161 * (5.0 / 6.0) - 1);
    ruler.positionOnWeek(Day(2026, 12, 14).week(), 161);
    EXPECT_EQ(ruler.leftMonth(), Month(2026, 12));
    EXPECT_FALSE(ruler.rightMonth());

    const double shares[] = {0, 1.0 / 6, 1.0 / 3, 0.5, 0.625, 0.75, 0.875, 1};
    for (int days = 0; days <= 7; ++days) {
        EXPECT_DOUBLE_EQ(ThreeWeeksRulerView::relativeDistanceOfDayInWeekView(days), shares[days]) << days;
    }
    EXPECT_EQ(ThreeWeeksRulerView::relativeDistanceOfDayInWeekView(8), 0.0);

    // One month fills the ruler in its colour below the shading; its name is the only text.
    const Image one = ruler.renderToImage(1.0);
    const Color december = Month(2026, 12).seasonAwareColor();
    const Color filled = one.colorAtPoint(Point(300, 20));
    EXPECT_NEAR(filled.red(), december.red(), 0.02);
    EXPECT_NEAR(filled.green(), december.green(), 0.02);
    EXPECT_NEAR(filled.blue(), december.blue(), 0.02);
    bool nameDrawn = false;
    for (int x = 8; x < 40 && !nameDrawn; ++x) {
        for (int y = 2; y < 22 && !nameDrawn; ++y) {
            nameDrawn = one.colorAtPoint(Point(x + 0.5, y + 0.5)).red() > 0.95;
        }
    }
    EXPECT_TRUE(nameDrawn);

    // The view puts the ruler on the middle page.
    view->setCurrentWeek(Day(2027, 3, 29).week());
    week.settle();
    EXPECT_EQ(view->rulerView()->rightMonth(), Month(2027, 4));
    EXPECT_DOUBLE_EQ(view->rulerView()->monthSplitX(), 240.5);
    SamplePictures::keep(view->renderToImage(2.0), "threeweeks-month-split.png");
}

TEST_F(ThreeWeeksViewTest, TheIndicatorFollowsTheMiddleWeekAndTheOwnerHearsOfIt) {
    WeekIndicatorView indicator(Rect(0, 0, 480, 4));
    indicator.setWeekWidth(161);
    indicator.setCurrentWeekX(100);
    const Image strip = indicator.renderToImage(1.0);
    EXPECT_NEAR(strip.colorAtPoint(Point(50, 2)).alpha(), 0.1, 0.01);
    EXPECT_NEAR(strip.colorAtPoint(Point(200, 2)).alpha(), 0.4, 0.01);
    EXPECT_NEAR(strip.colorAtPoint(Point(300, 2)).alpha(), 0.1, 0.01);

    EXPECT_EQ(view->weekIndicatorView()->currentWeekX(), 161);
    EXPECT_EQ(view->weekIndicatorView()->weekWidth(), 161);
    QStringList reports;
    view->setOnCurrentWeekChanged([&](const Week& w) { reports << "current " + w.description(); });
    view->setOnLandedSteadyOnWeek([&](const Week& w) { reports << "landed " + w.description(); });

    const Point start = view->convertPointToView(Point(300, 150), nullptr);
    const Point end(start.x() - 140, start.y());
    week.harness.drag(start, end, 0.5, 12, false);
    // The page of 14 December has reached the middle.
    const double heldX = view->weekIndicatorView()->currentWeekX();
    EXPECT_GT(heldX, 161);
    EXPECT_LT(heldX, 161 + 80.5);
    EXPECT_EQ(view->currentWeek(), Day(2026, 12, 14).week());
    EXPECT_DOUBLE_EQ(view->rulerView()->monthSplitX(), heldX + 161 * 2.625 - 1);
    week.harness.advance(0.5);
    week.harness.touchUp(end);
    week.settle();
    EXPECT_EQ(view->currentWeek(), Day(2026, 12, 14).week());
    EXPECT_EQ(view->weekIndicatorView()->currentWeekX(), 161);
    EXPECT_TRUE(reports.contains("current 2026-12-14")) << reports.join(", ").toStdString();
    EXPECT_EQ(reports.filter("landed").join(", "), "landed 2026-12-14");
    EXPECT_EQ(view->lastKnownSteadyWeek(), Day(2026, 12, 14).week());
}

TEST_F(ThreeWeeksViewTest, ATapOnAMiniDayListsThatDay) {
    week.addEvent("Dentist", at(9, 9), at(9, 10));
    week.addEvent("Conference", at(9, 0), at(9, 23, 59), true);
    week.settle();
    MiniDayListRequests requests;
    MiniWeekDayView& wednesday = dayView(Day(2026, 12, 9));
    EXPECT_TRUE(wednesday.selectedImageView()->hidden());

    week.harness.touchDown(windowCenter(wednesday));
    week.harness.advance(0.2);
    week.harness.runUntilIdle();
    EXPECT_TRUE(wednesday.contentView()->selected());
    EXPECT_FALSE(wednesday.selectedHeaderImageView()->hidden());
    EXPECT_EQ(wednesday.selectedImageView()->alpha(), 1.0);
    EXPECT_EQ(wednesday.selectedImageView()->frame(), Rect(0, 14, 79, 64));
    SamplePictures::keep(view->renderToImage(2.0), "threeweeks-selected-day.png");

    week.harness.touchUp(windowCenter(wednesday));
    week.harness.runUntilIdle();
    ASSERT_EQ(requests.requests.size(), 1u);
    EXPECT_EQ(requests.requests[0]->dayView().get(), &wednesday);
    EXPECT_EQ(requests.requests[0]->date(), Day(2026, 12, 9).beginDateTime());
    week.settle(0.5);
    EXPECT_FALSE(wednesday.contentView()->selected());
    EXPECT_TRUE(wednesday.selectedHeaderImageView()->hidden());
    EXPECT_TRUE(wednesday.selectedImageView()->hidden());

    // The weekend halves have the short body.
    EXPECT_EQ(dayView(Day(2026, 12, 13)).selectedImageView()->frame(), Rect(0, 14, 79, 25));
    EXPECT_EQ(dayView(Day(2026, 12, 13)).frame(), Rect(80, 198, 79, 39));
}

TEST_F(ThreeWeeksViewTest, AStoreChangeReadsThePagesAgain) {
    EXPECT_EQ(linesText(Day(2026, 12, 10)), "");
    week.addEvent("Dentist", at(10, 9), at(10, 10));
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
    week.settle();
    EXPECT_EQ(linesText(Day(2026, 12, 10)), "Dentist@15");
}
