#include "ui/week/WeekScreenTestSupport.h"

#include "kit/ScrollView.h"
#include "kit/Window.h"

namespace {

// A week as people live it: today (Tuesday 8 December 2026) highlighted, timed and all-day
// events, a conference over two days, a flight that ends after midnight, a birthday on Sunday
// and a Friday too full for its box.
void addRealisticWeek(WeekScreen& week) {
    const auto at = [](int day, int hour, int minute = 0) {
        return WeekScreen::at(2026, 12, day, hour, minute);
    };
    const auto work = week.addCalendar("Work", Color::fromRgb255(41, 98, 196));
    const auto home = week.addCalendar("Home", Color::fromRgb255(62, 160, 84));
    const auto sport = week.addCalendar("Sport", Color::fromRgb255(226, 120, 34));
    week.addEvent("Team standup", at(7, 9), at(7, 9, 15), false, work);
    week.addEvent("Dentist", at(7, 14), at(7, 15), false, home, "Dr. Weiss");
    week.addEvent("Project review", at(8, 10), at(8, 11, 30), false, work, "Room 4");
    week.addEvent("Lunch with Sam", at(8, 12, 30), at(8, 13, 30), false, home);
    week.addEvent("Yoga", at(8, 18), at(8, 19), false, sport);
    week.addEvent("Conference", at(9, 0), at(11, 0), true, work);
    week.addEvent("Flight to Vienna", at(9, 7, 15), at(9, 9, 5), false, work, "BER T1");
    week.addEvent("Night train", at(10, 22, 40), at(11, 7, 10), false, home);
    week.addEvent("Christmas market", at(10, 0), at(11, 0), true, home);
    const char* const friday[] = {"Standup",     "Design sync", "1:1 with Mia",
                                  "Code review", "Gym",         "Dinner at Luca's"};
    for (int i = 0; i < 6; ++i) {
        week.addEvent(friday[i], at(11, 9 + 2 * i), at(11, 10 + 2 * i), false, i == 4 ? sport : work);
    }
    week.addEvent("Farmers market", at(12, 9), at(12, 11), false, home, "Kollwitzplatz");
    week.addBirthday("Anna Berger", "1990-12-13");
}

ScreenHarness::Options atScale(double scale) {
    ScreenHarness::Options options;
    options.scale = scale;
    return options;
}

} // namespace

TEST(WeekScreenPicturesTest, currentWeekAtBothScales) {
    for (const double scale : {2.0, 1.0}) {
        WeekScreen week(atScale(scale));
        addRealisticWeek(week);
        week.launch();
        const Image picture = week.harness.render();
        EXPECT_EQ(picture.size(), Size(320, 480));
        SamplePictures::keep(picture, QString("week-screen@%1x.png").arg(scale));
    }
}

TEST(WeekScreenPicturesTest, weekDuringADragBetweenTwoPages) {
    WeekScreen week;
    addRealisticWeek(week);
    week.launch();
    week.dragAcross(260, 120, false);
    const ScrollView& scroll = *week.screen->scrollView();
    // The finger holds the content part-way to the next week.
    EXPECT_GT(scroll.contentOffset().x(), 100 * 320.0 + 100);
    EXPECT_LT(scroll.contentOffset().x(), 101 * 320.0);
    SamplePictures::keep(week.harness.render(), "week-screen-dragging.png");
    week.harness.touchUp(Point(120, 250));
    week.settle();
}

TEST(WeekScreenPicturesTest, fuzzyTransitionDuringAJump) {
    WeekScreen week;
    addRealisticWeek(week);
    week.launch();
    week.screen->scrollToWeek(Week::currentWeek().addWeeks(6), true, true);
    week.harness.runUntilIdle();
    week.harness.advance(0.12);
    SamplePictures::keep(week.harness.render(), "week-screen-jumping.png");
    week.settle();
}
