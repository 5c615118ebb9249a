#include "kit/DatePicker.h"
#include "SamplePictures.h"
#include "TouchTestSupport.h"
#include "foundation/CivilDate.h"
#include "kit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// 2026-12-08 in UTC.
constexpr double dayStart = 1796688000.0;

Date todayAt(int hour, int minute, int second = 0) {
    return Date::withTimeIntervalSince1970(dayStart + hour * 3600.0 + minute * 60.0 + second);
}

// A day and time in UTC.
Date utcAt(int year, int month, int day, int hour, int minute, int second = 0) {
    return Date::withTimeIntervalSince1970(static_cast<double>(CivilDate::daysFromCivil(year, month, day)) *
                                               86400.0 +
                                           hour * 3600.0 + minute * 60.0 + second);
}

QString rowsOf(const DatePicker& picker, int component) {
    QStringList titles;
    for (int row = 0; row < picker.numberOfRowsInComponent(component); ++row) {
        titles.append(picker.titleForRow(row, component));
    }
    return titles.join(QLatin1Char(','));
}

// What the picker shows across its middle line, component by component.
QString shown(const DatePicker& picker) {
    QStringList titles;
    for (int component = 0; component < picker.numberOfComponents(); ++component) {
        titles.append(picker.titleForRow(picker.rowShownInComponent(component), component));
    }
    return titles.join(QLatin1Char(' '));
}

class DatePickerTest : public TouchFixture, public testing::Test {
protected:
    void SetUp() override {
        m_picker = std::make_shared<DatePicker>(Rect(0, 200, 320, 100));
        m_picker->setTimeZone(TimeZone::withName("UTC"));
        root->addSubview(m_picker);
        m_picker->onValueChanged = [this] {
            m_log.append(QStringLiteral("changed %1")
                             .arg((m_picker->date().timeIntervalSince1970() - dayStart) / 60.0));
        };
    }

    // The middle of a component's wheel in the window; the picker's middle line is at y 308.
    Point middleOf(int component) const {
        const Rect rect = m_picker->rectForComponent(component);
        return {rect.midX(), 200 + rect.midY()};
    }

    // Drags slowly (no glide) by `dy` and lets the wheel come to rest.
    void slowDrag(int component, double dy) {
        const Point from = middleOf(component);
        down(1, from);
        drag(1, from, from.offset(0, dy), 10, 0.1);
        advance(0.2);
        up(1, from.offset(0, dy));
    }

    std::shared_ptr<DatePicker> m_picker;
};

} // namespace

TEST_F(DatePickerTest, TwelveHourLocalesGetAnAmPmWheel) {
    m_picker->setLocale("en_US");
    m_picker->setDate(todayAt(14, 37));
    EXPECT_EQ(m_picker->frame(), Rect(0, 200, 320, 216));
    EXPECT_TRUE(m_picker->usesTwelveHourClock());
    ASSERT_EQ(m_picker->numberOfComponents(), 3);
    EXPECT_EQ(rowsOf(*m_picker, 0), "12,1,2,3,4,5,6,7,8,9,10,11");
    EXPECT_EQ(m_picker->numberOfRowsInComponent(1), 60);
    EXPECT_EQ(m_picker->titleForRow(7, 1), "07");
    EXPECT_EQ(rowsOf(*m_picker, 2), "AM,PM");
    EXPECT_EQ(shown(*m_picker), "2 37 PM");
    m_picker->setDate(todayAt(0, 5));
    EXPECT_EQ(shown(*m_picker), "12 05 AM");
    EXPECT_EQ(m_picker->date(), todayAt(0, 5));
    EXPECT_EQ(log(), "");
}

TEST_F(DatePickerTest, TwentyFourHourLocalesShowTwoWheels) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(9, 3));
    EXPECT_FALSE(m_picker->usesTwelveHourClock());
    ASSERT_EQ(m_picker->numberOfComponents(), 2);
    EXPECT_EQ(m_picker->numberOfRowsInComponent(0), 24);
    EXPECT_EQ(m_picker->titleForRow(0, 0), "00");
    EXPECT_EQ(m_picker->titleForRow(23, 0), "23");
    EXPECT_EQ(shown(*m_picker), "09 03");
    // The hours sit left of the minutes, the pair in the middle.
    EXPECT_LT(m_picker->rectForComponent(0).x(), m_picker->rectForComponent(1).x());
    EXPECT_DOUBLE_EQ(m_picker->rectForComponent(0).minX() + m_picker->rectForComponent(1).maxX(), 320.0);
}

TEST_F(DatePickerTest, LocalesThatWriteTheDayPeriodFirstPutItsWheelFirst) {
    m_picker->setLocale("ko_KR");
    m_picker->setDate(todayAt(15, 0));
    ASSERT_EQ(m_picker->numberOfComponents(), 3);
    EXPECT_EQ(m_picker->numberOfRowsInComponent(0), 2);
    EXPECT_EQ(m_picker->selectedRowInComponent(0), 1);
    EXPECT_EQ(m_picker->titleForRow(m_picker->selectedRowInComponent(1), 1), "3");
}

TEST_F(DatePickerTest, TheMinuteIntervalShowsStepsAndSetDateKeepsTheDate) {
    m_picker->setLocale("de_DE");
    m_picker->setMinuteInterval(5);
    EXPECT_EQ(rowsOf(*m_picker, 1), "00,05,10,15,20,25,30,35,40,45,50,55");
    m_picker->setDate(todayAt(10, 7, 30));
    EXPECT_EQ(m_picker->date(), todayAt(10, 7, 30));
    EXPECT_EQ(shown(*m_picker), "10 05");
    m_picker->setDate(todayAt(10, 59));
    EXPECT_EQ(shown(*m_picker), "10 55");
    // Intervals that do not divide the hour are ignored.
    m_picker->setMinuteInterval(7);
    EXPECT_EQ(m_picker->minuteInterval(), 5);
    m_picker->setMinuteInterval(15);
    EXPECT_EQ(rowsOf(*m_picker, 1), "00,15,30,45");
    EXPECT_EQ(shown(*m_picker), "10 45");
    EXPECT_EQ(log(), "");
}

TEST_F(DatePickerTest, ATurnedWheelReportsTheNewTimeOnceItSettles) {
    m_picker->setLocale("de_DE");
    m_picker->setMinuteInterval(5);
    m_picker->setDate(todayAt(10, 7, 30));
    // Two rows up: from 05 to 15.
    const Point from = middleOf(1);
    down(1, from);
    drag(1, from, from.offset(0, -88), 10, 0.1);
    EXPECT_EQ(shown(*m_picker), "10 15");
    advance(0.2);
    up(1, from.offset(0, -88));
    EXPECT_TRUE(m_picker->isMoving());
    EXPECT_EQ(log(), "");
    EXPECT_EQ(m_picker->date(), todayAt(10, 7, 30));
    advance(0.5);
    EXPECT_FALSE(m_picker->isMoving());
    EXPECT_EQ(log(), "changed 615");
    EXPECT_EQ(m_picker->date(), todayAt(10, 15));
    advance(1.0);
    EXPECT_EQ(log(), "changed 615");
}

TEST_F(DatePickerTest, AReleaseBetweenRowsSnapsToTheNearestOne) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(10, 0));
    slowDrag(0, -60);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "11 00");
    slowDrag(0, -20);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "11 00");
    // Back where it was: no new time, no report.
    EXPECT_EQ(log(), "changed 660");
}

TEST_F(DatePickerTest, HoursAndMinutesLoop) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(0, 58));
    // Down three rows: the hours before midnight come from the end of the wheel.
    slowDrag(0, 132);
    advance(0.5);
    slowDrag(1, -132);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "21 01");
    EXPECT_EQ(m_picker->date(), todayAt(21, 1));
    EXPECT_EQ(log(), "changed 1318 changed 1261");
}

TEST_F(DatePickerTest, AmPmDoesNotLoopAndMovesTheHourByTwelve) {
    m_picker->setLocale("en_US");
    m_picker->setDate(todayAt(9, 30));
    slowDrag(2, -200);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "9 30 PM");
    EXPECT_EQ(m_picker->date(), todayAt(21, 30));
    slowDrag(2, -100);
    advance(0.5);
    EXPECT_EQ(m_picker->date(), todayAt(21, 30));
    EXPECT_EQ(log(), "changed 1290");
}

TEST_F(DatePickerTest, ATapOnAnotherRowTurnsItToTheMiddle) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(8, 20));
    const Point below = middleOf(0).offset(0, 44);
    down(1, below);
    up(1, below);
    EXPECT_EQ(log(), "");
    advance(0.4);
    EXPECT_EQ(shown(*m_picker), "09 20");
    EXPECT_EQ(log(), "changed 560");
    // A tap on the middle row changes nothing.
    down(1, middleOf(0));
    up(1, middleOf(0));
    advance(0.4);
    EXPECT_EQ(log(), "changed 560");
}

TEST_F(DatePickerTest, AFlickGlidesOnAndStopsOnARow) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(12, 0));
    const Point from = middleOf(1);
    down(1, from);
    drag(1, from, from.offset(0, -60), 3, 0.01);
    up(1, from.offset(0, -60));
    advance(0.2);
    EXPECT_TRUE(m_picker->isMoving());
    advance(3.0);
    EXPECT_FALSE(m_picker->isMoving());
    ASSERT_EQ(m_picker->numberOfComponents(), 2);
    const int minute = m_picker->selectedRowInComponent(1);
    // 2000 points a second glides far beyond the two rows the finger moved.
    EXPECT_GT((minute + 60) % 60, 10);
    EXPECT_EQ(m_picker->rowShownInComponent(1), minute);
    EXPECT_EQ(log(), QStringLiteral("changed %1").arg(720 + minute));
}

TEST_F(DatePickerTest, AnimatedSetDateTurnsTheWheelsWithoutReporting) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(6, 10));
    m_picker->setDate(todayAt(7, 12), true);
    EXPECT_EQ(m_picker->date(), todayAt(7, 12));
    EXPECT_EQ(m_picker->selectedRowInComponent(0), 7);
    EXPECT_TRUE(m_picker->isMoving());
    EXPECT_EQ(shown(*m_picker), "06 10");
    advance(0.4);
    EXPECT_EQ(shown(*m_picker), "07 12");
    EXPECT_EQ(log(), "");
}

TEST_F(DatePickerTest, TheTimeIsReadInThePickersZone) {
    m_picker->setLocale("de_DE");
    m_picker->setTimeZone(TimeZone::withName("Europe/Berlin"));
    m_picker->setDate(todayAt(10, 0));
    EXPECT_EQ(shown(*m_picker), "11 00");
    slowDrag(0, -44);
    advance(0.5);
    // 12:00 in Berlin is 11:00 UTC.
    EXPECT_EQ(m_picker->date(), todayAt(11, 0));
}

TEST_F(DatePickerTest, APickerInTheUsersLocaleHasItsWheelsOnce) {
    m_picker->setDate(todayAt(8, 20));
    EXPECT_EQ(static_cast<int>(m_picker->subviews().size()), m_picker->numberOfComponents());
    const int hours = m_picker->usesTwelveHourClock() && m_picker->numberOfRowsInComponent(0) == 2 ? 1 : 0;
    const Point below = middleOf(hours).offset(0, 44);
    down(1, below);
    up(1, below);
    advance(0.4);
    EXPECT_EQ(log(), "changed 560");
}

TEST_F(DatePickerTest, ADisabledPickerDoesNotTurn) {
    m_picker->setLocale("de_DE");
    m_picker->setDate(todayAt(8, 20));
    m_picker->setEnabled(false);
    slowDrag(0, -88);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "08 20");
    m_picker->setEnabled(true);
    slowDrag(0, -88);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "10 20");
    EXPECT_EQ(log(), "changed 620");
}

TEST_F(DatePickerTest, DateWheelsFollowTheLocalesDateOrder) {
    m_picker->setLocale("en_US");
    m_picker->setDatePickerMode(DatePicker::Mode::Date);
    m_picker->setDate(todayAt(14, 37));
    EXPECT_EQ(m_picker->datePickerMode(), DatePicker::Mode::Date);
    ASSERT_EQ(m_picker->numberOfComponents(), 3);
    EXPECT_EQ(shown(*m_picker), "December 8 2026");
    EXPECT_EQ(rowsOf(*m_picker, 0), "January,February,March,April,May,June,July,August,September,October,"
                                    "November,December");
    EXPECT_EQ(m_picker->numberOfRowsInComponent(1), 31);
    EXPECT_EQ(m_picker->titleForRow(30, 1), "31");
    EXPECT_EQ(m_picker->numberOfRowsInComponent(2), 201);
    EXPECT_EQ(m_picker->titleForRow(0, 2), "1900");
    EXPECT_EQ(m_picker->selectedRowInComponent(2), 126);
    EXPECT_GE(m_picker->rectForComponent(0).minX(), 0.0);
    EXPECT_LE(m_picker->rectForComponent(2).maxX(), 320.0);
    SamplePictures::keep(ViewRenderer::render(*m_picker), "datepicker-date-en_US.png");

    m_picker->setLocale("de_DE");
    EXPECT_EQ(shown(*m_picker), "8 Dezember 2026");
    m_picker->setLocale("en_GB");
    EXPECT_EQ(shown(*m_picker), "8 December 2026");
    m_picker->setLocale("ja_JP");
    EXPECT_EQ(shown(*m_picker), "2026 12月 8");
    SamplePictures::keep(ViewRenderer::render(*m_picker), "datepicker-date-ja_JP.png");
    EXPECT_EQ(m_picker->date(), todayAt(14, 37));
    EXPECT_EQ(log(), "");
}

TEST_F(DatePickerTest, ATurnedDateWheelKeepsTheTimeOfDayAndEndsWithinTheMonth) {
    m_picker->setLocale("en_US");
    m_picker->setDatePickerMode(DatePicker::Mode::Date);
    m_picker->setDate(utcAt(2027, 1, 31, 9, 45, 30));
    // January 31 to February: the day turns back to the 28th once the month settles.
    slowDrag(0, -44);
    EXPECT_EQ(m_log.size(), 0);
    advance(1.0);
    EXPECT_FALSE(m_picker->isMoving());
    EXPECT_EQ(shown(*m_picker), "February 28 2027");
    EXPECT_EQ(m_picker->date(), utcAt(2027, 2, 28, 9, 45, 30));
    EXPECT_EQ(m_log.size(), 1);
    // In a leap year February has a 29th, which a later turn to 2029 takes away again.
    slowDrag(2, -44);
    advance(0.5);
    slowDrag(1, -44);
    advance(0.5);
    EXPECT_EQ(m_picker->date(), utcAt(2028, 2, 29, 9, 45, 30));
    slowDrag(2, -44);
    advance(1.0);
    EXPECT_EQ(shown(*m_picker), "February 28 2029");
    EXPECT_EQ(m_picker->date(), utcAt(2029, 2, 28, 9, 45, 30));
    EXPECT_EQ(m_log.size(), 4);
}

TEST_F(DatePickerTest, DateAndTimeShowsTodayAndTurnsDayAndTime) {
    m_loop->setNow(todayAt(7, 0));
    m_picker->setLocale("en_US");
    m_picker->setDatePickerMode(DatePicker::Mode::DateAndTime);
    m_picker->setDate(todayAt(14, 35));
    ASSERT_EQ(m_picker->numberOfComponents(), 4);
    EXPECT_EQ(shown(*m_picker), "Today 2 35 PM");
    const int today = m_picker->selectedRowInComponent(0);
    EXPECT_EQ(m_picker->titleForRow(today - 1, 0), "Mon, Dec 7");
    EXPECT_EQ(m_picker->titleForRow(today + 1, 0), "Wed, Dec 9");
    // The day wheel is the widest, and all of them fit the picker.
    EXPECT_GT(m_picker->rectForComponent(0).width(), 0.4 * 320);
    EXPECT_GE(m_picker->rectForComponent(0).minX(), 0.0);
    EXPECT_LE(m_picker->rectForComponent(3).maxX(), 320.0);
    SamplePictures::keep(ViewRenderer::render(*m_picker), "datepicker-date-and-time-en_US.png");

    slowDrag(0, -44);
    advance(0.5);
    slowDrag(1, 44);
    advance(0.5);
    EXPECT_EQ(shown(*m_picker), "Wed, Dec 9 1 35 PM");
    EXPECT_EQ(m_picker->date(), utcAt(2026, 12, 9, 13, 35));
    EXPECT_EQ(m_log.size(), 2);
}

TEST_F(DatePickerTest, SwitchingModesKeepsTheDate) {
    m_loop->setNow(todayAt(7, 0));
    m_picker->setLocale("de_DE");
    m_picker->setDate(utcAt(2026, 12, 10, 10, 7, 30));
    EXPECT_EQ(shown(*m_picker), "10 07");
    m_picker->setDatePickerMode(DatePicker::Mode::Date);
    EXPECT_EQ(shown(*m_picker), "10 Dezember 2026");
    m_picker->setDatePickerMode(DatePicker::Mode::DateAndTime);
    ASSERT_EQ(m_picker->numberOfComponents(), 3);
    EXPECT_EQ(shown(*m_picker), "Do., 10. Dez. 10 07");
    EXPECT_EQ(static_cast<int>(m_picker->subviews().size()), 3);
    SamplePictures::keep(ViewRenderer::render(*m_picker), "datepicker-date-and-time-de_DE.png");
    m_picker->setDatePickerMode(DatePicker::Mode::Time);
    EXPECT_EQ(shown(*m_picker), "10 07");
    EXPECT_EQ(m_picker->date(), utcAt(2026, 12, 10, 10, 7, 30));
    EXPECT_EQ(log(), "");
}
