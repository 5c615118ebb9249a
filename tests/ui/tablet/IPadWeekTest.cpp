#include "core/calendar/Week.h"
#include "ui/week/WeekScreenTestSupport.h"

#include "core/events/EventService.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventView.h"
#include "ui/daybox/SelectedBackgroundView.h"
#include "ui/tablet/IPadDayView.h"
#include "ui/tablet/IPadDayViewController.h"
#include "ui/tablet/IPadWeekScrollViewController.h"
#include "ui/tablet/IPadWeekViewController.h"

#include <string>

namespace {

std::string tabletFrameText(const Rect& frame) {
    return QString("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height())
        .toStdString();
}

// The titles in the day's visible rows, and the more button's text in brackets.
std::string tabletRowsText(const DayViewController& day) {
    QStringList parts;
    for (const auto& row : day.eventViews()) {
        if (!row->hidden() && row->event()) {
            parts << row->event()->title();
        }
    }
    const auto& more = day.dayView()->moreEventsButton();
    if (!more->hidden()) {
        parts << "[" + more->titleForState(ControlState::Normal).trimmed() + "]";
    }
    return parts.join(' ').toStdString();
}

// The rows' y positions, as the model has them (the place an animation goes to) or as drawn.
std::string rowTops(const DayViewController& day, bool drawn = false) {
    QStringList tops;
    for (const auto& row : day.eventViews()) {
        tops << QString::number(drawn ? row->presentationFrame().y() : row->frame().y());
    }
    return tops.join(' ').toStdString();
}

ScreenHarness::Options tabletOptions() {
    ScreenHarness::Options options;
    options.tablet = true;
    return options;
}

// The tablet's pages in the harness with the tablet idiom (Monday 7 to Sunday 13 December 2026,
// today Tuesday 8).
class IPadWeekTest : public testing::Test {
protected:
    IPadWeekTest() : week(tabletOptions()) {}
    // Weeks from Monday, as the week screen sets them for the default weekend; the pages here
    // are made without a week screen, so another test's weekend must not reach them.
    void SetUp() override { Week::setFirstWeekdayOfWeek(2); }
    void TearDown() override { Week::setFirstWeekdayOfWeek(m_previousFirstWeekday); }

    std::shared_ptr<IPadWeekViewController> loadedPage() {
        auto page = IPadWeekViewController::create(std::make_shared<EventTouchLock>());
        page->clearWithWeek(Week::currentWeek(), true);
        page->load();
        week.harness.runUntilIdle();
        return page;
    }

    static IPadDayViewController& day(const IPadWeekViewController& page, int index) {
        return static_cast<IPadDayViewController&>(
            *page.dayViewControllers()[static_cast<std::size_t>(index)]);
    }

    static Date at(int day, int hour, int minute = 0) { return WeekScreen::at(2026, 12, day, hour, minute); }

    // `count` hour-long events on the day from 8 o'clock, titled with the prefix and their number.
    void addEvents(int dayOfMonth, int count, const QString& prefix) {
        for (int i = 0; i < count; ++i) {
            week.addEvent(prefix + QString::number(i), at(dayOfMonth, 8 + i), at(dayOfMonth, 9 + i));
        }
    }

    std::shared_ptr<EKEvent> unsavedEvent(const QString& title, Date start) {
        EKEventStore& store = week.harness.eventStore();
        auto event = EKEvent::eventWithEventStore(store);
        event->setTitle(title);
        event->setStartDate(start);
        event->setEndDate(start.addingTimeInterval(1800));
        event->setCalendar(store.defaultCalendarForNewEvents());
        return event;
    }

    WeekScreen week;
    const int m_previousFirstWeekday = Week::firstWeekdayOfWeek();
};

} // namespace

TEST_F(IPadWeekTest, cardsAndRowsTakeTheTabletGeometry) {
    week.addEvent("Standup", at(7, 9), at(7, 9, 30));
    week.addEvent("Conference", at(7, 0), at(8, 0), true);
    week.addBirthday("Anna Berger", "1990-12-13");
    const auto page = loadedPage();
    ASSERT_EQ(page->dayViewControllers().size(), 7u);
    EXPECT_EQ(tabletFrameText(page->view()->frame()), "0 0 768 960");
    const char* const cards[] = {"4 4 378 315",     "4 323 378 315",   "4 642 378 314.5",  "386 4 378 315",
                                 "386 323 378 315", "386 642 378 155", "386 801 378 155.5"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabletFrameText(day(*page, i).view()->frame()), cards[i]) << "day " << i;
    }

    const DayView& monday = *day(*page, 0).dayView();
    EXPECT_EQ(monday.rightTitle(), "7 December");
    EXPECT_EQ(monday.getHeaderHeight(), 28);
    EXPECT_EQ(monday.getTextPositionY(), 3);
    EXPECT_EQ(monday.getHeaderMargin(), 6);
    EXPECT_EQ(monday.getDayOfWeekLabelWidth(), 120);
    EXPECT_EQ(monday.getDayOfMonthLabelWidth(), 120);
    EXPECT_TRUE(monday.getEventFont() == Font::boldSystemFontOfSize(17));
    EXPECT_EQ(tabletFrameText(monday.moreEventsButton()->frame()), "2 286 374 27");
    EXPECT_TRUE(monday.moreEventsButton()->titleLabel().font() == Font::boldSystemFontOfSize(16));
    EXPECT_EQ(tabletFrameText(day(*page, 5).dayView()->moreEventsButton()->frame()), "2 126 374 27");

    // The all-day event sorts first.
    const auto& rows = day(*page, 0).eventViews();
    ASSERT_EQ(rows.size(), 2u);
    const EventView& allDay = *rows[0];
    const EventView& timed = *rows[1];
    EXPECT_EQ(tabletFrameText(allDay.frame()), "2.5 31 372 28");
    EXPECT_EQ(tabletFrameText(timed.frame()), "2.5 59 372 28");
    const Rect time = timed.timeLabel()->frame();
    EXPECT_EQ(tabletFrameText(Rect(time.x(), time.y(), 0, time.height())), "6 1 0 25");
    EXPECT_TRUE(timed.timeLabel()->font() == Font::boldSystemFontOfSize(15));
    EXPECT_TRUE(timed.titleLabel()->font() == Font::systemFontOfSize(16));
    EXPECT_EQ(tabletFrameText(timed.originalTitleFrame()),
              tabletFrameText(Rect(time.width() + 11, 0, 372 - time.width() - 11, 27)));
    EXPECT_EQ(tabletFrameText(timed.selectedBackgroundImage()->frame()), "1 3 370 23");
    EXPECT_EQ(allDay.titleLabel()->frame().x(), 6);
    EXPECT_EQ(allDay.titleLabel()->frame().height(), 27);
    const EventView& birthday = *day(*page, 6).eventViews().front();
    ASSERT_TRUE(birthday.birthdayIconView());
    EXPECT_EQ(birthday.titleLabel()->frame().x(), 26);
}

TEST_F(IPadWeekTest, fullDaysShowTheMoreButtonInPlaceOfTheLastRow) {
    addEvents(8, 12, "T");
    addEvents(9, 10, "W");
    addEvents(12, 5, "S");
    const auto page = loadedPage();
    EXPECT_EQ(tabletRowsText(day(*page, 1)), "T0 T1 T2 T3 T4 T5 T6 T7 T8 [3 more events ...]");
    EXPECT_EQ(tabletRowsText(day(*page, 5)), "S0 S1 S2 [2 more events ...]");

    // A placeholder in a day whose rows are full gets no row; its slide only runs the completion.
    IPadDayViewController& wednesday = day(*page, 2);
    EXPECT_EQ(tabletRowsText(wednesday), "W0 W1 W2 W3 W4 W5 W6 W7 W8 W9");
    EXPECT_EQ(wednesday.addFakeEvent(unsavedEvent("New", at(9, 7))), nullptr);
    EXPECT_EQ(tabletRowsText(wednesday), "W0 W1 W2 W3 W4 W5 W6 W7 W8 [2 more events ...]");
    const std::string tops = rowTops(wednesday);
    bool completed = false;
    wednesday.animateFakeEventIntoPosition([&completed] { completed = true; });
    week.harness.runUntilIdle();
    EXPECT_TRUE(completed);
    EXPECT_EQ(rowTops(wednesday), tops);
}

TEST_F(IPadWeekTest, placeholderRowSlidesIntoItsSortedPlace) {
    addEvents(8, 4, "T");
    const auto page = loadedPage();
    IPadDayViewController& tuesday = day(*page, 1);
    const std::shared_ptr<EventView> placeholder = tuesday.addFakeEvent(unsavedEvent("New", at(8, 9, 30)));
    ASSERT_TRUE(placeholder);
    // The caller marks the placeholder; it stands after the day's events.
    placeholder->setAlpha(0.5);
    EXPECT_EQ(tabletRowsText(tuesday), "T0 T1 T2 T3 New");
    EXPECT_EQ(rowTops(tuesday), "31 59 87 115 143");

    // What the rows show when the completion (the save) runs.
    std::string atCompletion;
    tuesday.animateFakeEventIntoPosition(
        [&] { atCompletion = rowTops(tuesday) + " / " + rowTops(tuesday, true); });
    EXPECT_EQ(placeholder->alpha(), 1);
    // The row goes to 31 + 28 × 2 and the rows between make room.
    EXPECT_EQ(rowTops(tuesday), "31 59 115 143 87");
    week.harness.advance(0.15);
    EXPECT_EQ(rowTops(tuesday), "31 59 115 143 87");
    const double placeholderY = placeholder->presentationFrame().y();
    EXPECT_GT(placeholderY, 87);
    EXPECT_LT(placeholderY, 143);
    const double thirdRowY = tuesday.eventViews()[2]->presentationFrame().y();
    EXPECT_GT(thirdRowY, 87);
    EXPECT_LT(thirdRowY, 115);
    EXPECT_EQ(atCompletion, "");

    week.harness.advance(0.2);
    EXPECT_EQ(atCompletion, "31 59 87 115 143 / 31 59 87 115 143");
}

TEST_F(IPadWeekTest, editedEventSlidesToItsNewPlace) {
    addEvents(8, 4, "T");
    const auto page = loadedPage();
    IPadDayViewController& tuesday = day(*page, 1);
    const std::shared_ptr<EKEvent> shown = tuesday.displayedEvents().eventAtIndex(0);
    const std::shared_ptr<EventView> row = tuesday.eventViews().front();
    // The editor's copy of the event, moved to 10:30, after the third.
    std::shared_ptr<EKEvent> edited = week.harness.eventService().eventByIdentifier(shown->eventIdentifier());
    ASSERT_TRUE(edited);
    edited->setStartDate(at(8, 10, 30));
    edited->setEndDate(at(8, 11));

    std::string atCompletion;
    tuesday.animateEventIntoPosition(
        edited, [&] { atCompletion = rowTops(tuesday) + " / " + rowTops(tuesday, true); });
    // From the first place to the third: the rows between move up.
    EXPECT_EQ(rowTops(tuesday), "87 31 59 115");
    week.harness.advance(0.1);
    EXPECT_GT(row->presentationFrame().y(), 31);
    EXPECT_LT(row->presentationFrame().y(), 87);
    EXPECT_EQ(atCompletion, "");
    week.harness.advance(0.25);
    EXPECT_EQ(atCompletion, "31 59 87 115 / 31 59 87 115");
}

TEST_F(IPadWeekTest, picturesOfTheTabletWeekAndASlide) {
    const auto work = week.addCalendar("Work", Color::fromRgb255(41, 98, 196));
    const auto home = week.addCalendar("Home", Color::fromRgb255(62, 160, 84));
    const char* const titles[] = {"Standup",     "Design sync",  "1:1 with Mia", "Code review", "Lunch",
                                  "Budget call", "Hiring panel", "Gym",          "Groceries",   "Dinner"};
    for (const int dayOfMonth : {7, 8, 11}) {
        for (int i = 0; i < 10; ++i) {
            week.addEvent(titles[i], at(dayOfMonth, 8 + i), at(dayOfMonth, 8 + i, 45), false,
                          i % 3 == 2 ? home : work, i == 1 ? "Room 4" : QString());
        }
    }
    week.addEvent("Conference", at(9, 0), at(11, 0), true, work);
    week.addEvent("Flight to Vienna", at(9, 7, 15), at(9, 9, 5), false, work, "BER T1");
    week.addEvent("Night train", at(10, 22, 40), at(11, 7, 10), false, home);
    const char* const thursdayTitles[] = {"Dentist", "Pick up parcel", "Call the bank", "Choir"};
    for (int i = 0; i < 4; ++i) {
        week.addEvent(thursdayTitles[i], at(10, 9 + 2 * i), at(10, 10 + 2 * i), false, home);
    }
    for (int i = 0; i < 6; ++i) {
        week.addEvent(QString("Market stall %1").arg(i + 1), at(12, 9 + i), at(12, 10 + i), false, home);
    }
    week.addBirthday("Anna Berger", "1990-12-13");

    auto screen = IPadWeekScrollViewController::create();
    auto navigation = std::make_shared<NavigationController>(screen);
    week.harness.launch(navigation);
    week.settle();
    const Image picture = week.harness.render();
    EXPECT_EQ(picture.size(), Size(768, 1024));
    SamplePictures::keep(picture, "tablet-week.png");

    auto& thursday = static_cast<IPadDayViewController&>(*screen->weekViews()[1]->dayViewControllers()[3]);
    const std::shared_ptr<EventView> placeholder =
        thursday.addFakeEvent(unsavedEvent("New event", at(10, 6)));
    ASSERT_TRUE(placeholder);
    placeholder->setAlpha(0.5);
    thursday.animateFakeEventIntoPosition({});
    week.harness.advance(0.15);
    // From after the day's six events to the second row, after the conference.
    EXPECT_EQ(placeholder->frame().y(), 59);
    EXPECT_GT(placeholder->presentationFrame().y(), 59);
    EXPECT_LT(placeholder->presentationFrame().y(), 31 + 28 * 6);
    SamplePictures::keep(week.harness.render(), "tablet-week-slide.png");
    week.settle();
    navigation->popToRootViewControllerAnimated(false);
}
