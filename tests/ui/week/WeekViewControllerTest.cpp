#include "ui/week/WeekScreenTestSupport.h"

#include "core/events/EventService.h"
#include "foundation/DispatchQueue.h"
#include "kit/Button.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventView.h"
#include "ui/week/DayViewController.h"

#include <future>
#include <string>

namespace {

std::string frameText(const View& view) {
    const Rect frame = view.frame();
    return QString("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height())
        .toStdString();
}

// The titles of the events a day shows in its rows, and "+n" for the more button.
std::string rowsText(const DayViewController& day) {
    std::string text;
    for (const auto& row : day.eventViews()) {
        if (!row->hidden() && row->event()) {
            if (!text.empty()) {
                text += " ";
            }
            text += row->event()->title().toStdString();
        }
    }
    const auto& more = day.dayView()->moreEventsButton();
    if (!more->hidden()) {
        text += " [" + more->titleForState(ControlState::Normal).trimmed().toStdString() + "]";
    }
    return text;
}

class WeekViewControllerTest : public testing::Test {
protected:
    explicit WeekViewControllerTest(double scale = 2.0) : week(optionsWithScale(scale)) {}

    static ScreenHarness::Options optionsWithScale(double scale) {
        ScreenHarness::Options options;
        options.scale = scale;
        return options;
    }

    // A page showing the current week (Monday 7 to Sunday 13 December 2026), loaded.
    std::shared_ptr<WeekViewController> loadedPage() {
        auto page = WeekViewController::create(std::make_shared<EventTouchLock>());
        page->clearWithWeek(Week::currentWeek(), true);
        page->load();
        week.harness.runUntilIdle();
        return page;
    }

    static Date at(int day, int hour, int minute = 0) { return WeekScreen::at(2026, 12, day, hour, minute); }

    WeekScreen week;
};

class WeekViewControllerAtScaleOneTest : public WeekViewControllerTest {
protected:
    WeekViewControllerAtScaleOneTest() : WeekViewControllerTest(1.0) {}
};

} // namespace

TEST_F(WeekViewControllerTest, denseLayoutLeavesAOnePointFrameAroundTheBoxes) {
    const auto page = loadedPage();
    const auto& days = page->dayViewControllers();
    ASSERT_EQ(days.size(), 7u);
    EXPECT_EQ(frameText(*days[0]->view()), "1 1 158.5 137.5");
    EXPECT_EQ(frameText(*days[1]->view()), "1 139.5 158.5 137.5");
    EXPECT_EQ(frameText(*days[2]->view()), "1 278 158.5 137");
    EXPECT_EQ(frameText(*days[3]->view()), "160.5 1 158.5 137.5");
    EXPECT_EQ(frameText(*days[4]->view()), "160.5 139.5 158.5 137.5");
    EXPECT_EQ(frameText(*days[5]->view()), "160.5 278 158.5 68");
    EXPECT_EQ(frameText(*days[6]->view()), "160.5 347 158.5 68");
    EXPECT_TRUE(days[0]->leftColumn() && days[1]->leftColumn() && days[2]->leftColumn());
    EXPECT_FALSE(days[3]->leftColumn() || days[5]->leftColumn() || days[6]->leftColumn());
    EXPECT_TRUE(days[5]->halfSized() && days[6]->halfSized());
    EXPECT_FALSE(days[4]->halfSized());
}

TEST_F(WeekViewControllerAtScaleOneTest, layoutClosesTheOuterGapsToOnePoint) {
    const auto page = loadedPage();
    const auto& days = page->dayViewControllers();
    EXPECT_EQ(frameText(*days[0]->view()), "1 1 158 137");
    EXPECT_EQ(frameText(*days[2]->view()), "1 277 158 138");
    EXPECT_EQ(frameText(*days[3]->view()), "160 1 159 137");
    EXPECT_EQ(frameText(*days[5]->view()), "160 277 159 68");
    EXPECT_EQ(frameText(*days[6]->view()), "160 346 159 69");
}

TEST_F(WeekViewControllerTest, daysRunFromMondayAndMultiDayEventsShowOnEveryDayTheyTouch) {
    week.addEvent("Conference", at(9, 0), at(11, 0), true);
    week.addEvent("Night shift", at(8, 22), at(9, 6));
    week.addEvent("Party", at(12, 20), at(13, 0));
    const auto page = loadedPage();
    const auto& days = page->dayViewControllers();
    EXPECT_EQ(DateUtilities::weekday(days[0]->displayedDate()), 2);
    EXPECT_EQ(DateUtilities::weekday(days[6]->displayedDate()), 1);
    EXPECT_EQ(rowsText(*days[1]), "Night shift");
    EXPECT_EQ(rowsText(*days[2]), "Night shift Conference");
    EXPECT_EQ(rowsText(*days[3]), "Conference");
    EXPECT_EQ(rowsText(*days[4]), "");
    // Ending exactly at midnight keeps the party off Sunday.
    EXPECT_EQ(rowsText(*days[5]), "Party");
    EXPECT_EQ(rowsText(*days[6]), "");
    EXPECT_FALSE(page->loadingEvents());
}

TEST_F(WeekViewControllerTest, fullDaysShowTheMoreButtonInPlaceOfTheLastRow) {
    for (int i = 0; i < 5; ++i) {
        week.addEvent(QString("M%1").arg(i), at(7, 8 + i), at(7, 9 + i));
    }
    for (int i = 0; i < 6; ++i) {
        week.addEvent(QString("T%1").arg(i), at(8, 8 + i), at(8, 9 + i));
    }
    for (int i = 0; i < 3; ++i) {
        week.addEvent(QString("S%1").arg(i), at(12, 8 + i), at(12, 9 + i));
    }
    const auto page = loadedPage();
    const auto& days = page->dayViewControllers();
    EXPECT_EQ(rowsText(*days[0]), "M0 M1 M2 M3 M4");
    EXPECT_EQ(rowsText(*days[1]), "T0 T1 T2 T3 [2 more events ...]");
    EXPECT_EQ(rowsText(*days[5]), "S0 [2 more events ...]");
}

TEST_F(WeekViewControllerTest, givingThePageItsOwnWeekKeepsWhatItShows) {
    week.addEvent("Standup", at(8, 9), at(8, 10));
    const auto page = loadedPage();
    page->clearWithWeek(Week::currentWeek(), false);
    EXPECT_EQ(rowsText(*page->dayViewControllers()[1]), "Standup");
    page->clearWithWeek(Week::currentWeek().addWeeks(1), false);
    EXPECT_EQ(rowsText(*page->dayViewControllers()[1]), "");
}

TEST_F(WeekViewControllerTest, anEventMovedToAnotherDayLeavesItsOldDay) {
    const auto event = week.addEvent("Review", at(8, 14), at(8, 15));
    const auto page = loadedPage();
    event->setStartDate(at(10, 14));
    event->setEndDate(at(10, 15));
    page->addEvent(event, true, false);
    page->reloadEvent(event);
    week.settle();
    EXPECT_EQ(rowsText(*page->dayViewControllers()[1]), "");
    EXPECT_EQ(rowsText(*page->dayViewControllers()[3]), "Review");
}

TEST_F(WeekViewControllerTest, splittingStopsOnceTheWeekIsGone) {
    week.addEvent("Standup", at(8, 9), at(8, 10));
    const EventList events = week.harness.eventService().findEventsInWeek(Week::currentWeek());
    std::vector<Date> starts;
    for (int day = 7; day <= 13; ++day) {
        starts.push_back(at(day, 0));
    }
    int checks = 0;
    const auto days = WeekViewController::splitIntoDays(events, starts, [&] { return ++checks < 3; });
    EXPECT_FALSE(days);
    const auto all = WeekViewController::splitIntoDays(events, starts, [] { return true; });
    ASSERT_TRUE(all);
    EXPECT_EQ((*all)[1].size(), 1);
    EXPECT_EQ((*all)[2].size(), 0);
}

// A load still reading when the page is given another week must not put the old week's events
// into the re-dated boxes; the newer load fills them.
TEST_F(WeekViewControllerTest, aLoadOvertakenByAnotherWeekDistributesNothing) {
    week.addEvent("This week", at(8, 9), at(8, 10));
    week.addEvent("Next week", at(15, 9), at(15, 10));
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    EventService& service = week.harness.eventService();
    // The first read waits until the page has moved on; later reads go straight through.
    class SlowFirstRead : public WeekViewController {
    public:
        SlowFirstRead(EventService& service, std::shared_future<void> released, std::promise<void>& started)
            : WeekViewController(std::make_shared<EventTouchLock>()), m_service(service),
              m_released(std::move(released)), m_started(started) {}

    protected:
        EventsFetcher eventsFetcher() const override {
            const bool first = !m_used;
            m_used = true;
            EventService* service = &m_service;
            std::shared_future<void> released = m_released;
            std::promise<void>* started = first ? &m_started : nullptr;
            return [service, released, started](const Week& week) {
                if (started) {
                    started->set_value();
                    released.wait();
                }
                return service->findEventsInWeek(week);
            };
        }

    private:
        EventService& m_service;
        std::shared_future<void> m_released;
        std::promise<void>& m_started;
        mutable bool m_used = false;
    };
    auto slow = std::make_shared<SlowFirstRead>(service, released, started);
    slow->view();
    slow->clearWithWeek(Week::currentWeek(), true);
    slow->load();
    started.get_future().wait();
    slow->clearWithWeek(Week::currentWeek().addWeeks(1), false);
    slow->load();
    release.set_value();
    DispatchQueue::global().waitUntilIdle();
    week.harness.runUntilIdle();
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    EXPECT_EQ(rowsText(*slow->dayViewControllers()[1]), "Next week");
    EXPECT_FALSE(slow->loadingEvents());
}
