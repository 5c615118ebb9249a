#include "CalendarTestSupport.h"

#include "core/calendar/Day.h"
#include "core/calendar/Holiday.h"
#include "core/calendar/Month.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"
#include "core/calendar/WeekInMonth.h"
#include "core/calendar/WeekPickerHolidayEntry.h"
#include "core/calendar/Year.h"

#include <chrono>
#include <stdexcept>
#include <thread>
#include <unordered_map>

namespace {

class CalendarPeriodsTest : public CalendarTest {};

} // namespace

TEST_F(CalendarPeriodsTest, DayArithmetic) {
    EXPECT_EQ(Day(2012, 12, 31).nextDay(), Day(2013, 1, 1));
    EXPECT_EQ(Day(2011, 2, 28).nextDay(), Day(2011, 3, 1));
    EXPECT_EQ(Day(2012, 2, 28).nextDay(), Day(2012, 2, 29));
    EXPECT_EQ(Day(2012, 3, 1).addDays(-1), Day(2012, 2, 29));
    EXPECT_EQ(Day(2012, 1, 15).addDays(366), Day(2013, 1, 15));
    EXPECT_EQ(Day(2000, 3, 1).addDays(-1), Day(2000, 2, 29));
    EXPECT_EQ(Day(1900, 3, 1).addDays(-1), Day(1900, 2, 28));
    EXPECT_EQ(Day(1970, 1, 1).daysSince1970(), 0);
    EXPECT_EQ(Day(1969, 12, 31).daysSince1970(), -1);
    EXPECT_EQ(Day::fromDaysSince1970(-1), Day(1969, 12, 31));
    EXPECT_EQ(Day(2012, 6, 15).daysTo(Day(2012, 6, 10)), -5);
    EXPECT_EQ(Day(2011, 12, 31).daysTo(Day(2013, 1, 1)), 367);
}

TEST_F(CalendarPeriodsTest, DayArithmeticAgreesWithTheCalendarFrom1583On) {
    namespace chr = std::chrono;
    for (chr::sys_days days = chr::year_month_day{chr::year{1583}, chr::January, chr::day{1}};
         days <= chr::sys_days{chr::year_month_day{chr::year{2400}, chr::December, chr::day{31}}};
         days += chr::days{1}) {
        const chr::year_month_day date{days};
        const Day day(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                      static_cast<int>(static_cast<unsigned>(date.day())));
        ASSERT_EQ(day.daysSince1970(), days.time_since_epoch().count());
        ASSERT_EQ(Day::fromDaysSince1970(days.time_since_epoch().count()), day);
        ASSERT_EQ(day.weekday(), static_cast<int>(chr::weekday{days}.c_encoding()) + 1);
    }
    // The weekday of the day start in the application calendar is the same.
    for (Day day(2012, 1, 1); day.yearNumber() == 2012; day = day.nextDay()) {
        ASSERT_EQ(DateUtilities::weekday(day.beginDateTime()), day.weekday());
    }
}

TEST_F(CalendarPeriodsTest, DayCountsAcrossTheSpringChangeAsWholeDays) {
    EXPECT_EQ(Day(2012, 3, 24).daysTo(Day(2012, 3, 26)), 2);
    EXPECT_EQ(Day(2012, 3, 26).daysTo(Day(2012, 3, 24)), -2);
    EXPECT_EQ(Day(2012, 10, 27).daysTo(Day(2012, 10, 29)), 2);
}

TEST_F(CalendarPeriodsTest, DayFacts) {
    const Day day(2012, 12, 31);
    EXPECT_EQ(day.beginDateTime(), local(2012, 12, 31));
    EXPECT_EQ(day.endDateTime(), local(2012, 12, 31, 23, 59, 59));
    EXPECT_EQ(day.weekday(), 2);
    EXPECT_EQ(day.weekdayAbbreviation(), "Mon");
    EXPECT_EQ(Day(2012, 12, 30).weekdayAbbreviation(), "Sun");
    EXPECT_EQ(day.month(), Month(2012, 12));
    EXPECT_EQ(day.year(), Year(2012));
    EXPECT_EQ(day.quarter(), Quarter(2012, 4));
    EXPECT_EQ(Day(2012, 3, 31).quarter(), Quarter(2012, 1));
    EXPECT_EQ(Day(2012, 4, 1).quarter(), Quarter(2012, 2));
    EXPECT_EQ(day.indexInYear(), 365);
    EXPECT_EQ(Day(2011, 12, 31).indexInYear(), 364);
    EXPECT_EQ(Day(2012, 1, 1).indexInYear(), 0);
    EXPECT_EQ(day.description(), "2012-12-31");
    EXPECT_EQ(Day(812, 3, 5).description(), "0812-03-05");
    EXPECT_TRUE(day.isLaterThan(Day(2012, 12, 30)));
    EXPECT_TRUE(Day(2012, 11, 30).isEarlierThan(Day(2012, 12, 1)));
    EXPECT_FALSE(day.isLaterThan(day));

    Locale::setCurrentLocale("de_DE");
    EXPECT_EQ(day.weekdayAbbreviation(), "Mo.");
}

TEST_F(CalendarPeriodsTest, WeekOfADay) {
    Week::setFirstWeekdayOfWeek(2);
    EXPECT_EQ(Day(2012, 10, 28).week().date(), local(2012, 10, 22));
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(Day(2012, 10, 28).week().date(), local(2012, 10, 28));
    EXPECT_EQ(Day(2013, 1, 5).week().date(), local(2012, 12, 30));
}

TEST_F(CalendarPeriodsTest, MonthLengths) {
    EXPECT_EQ(Month(1900, 2).numberOfDays(), 28);
    EXPECT_EQ(Month(2000, 2).numberOfDays(), 29);
    EXPECT_EQ(Month(2012, 2).numberOfDays(), 29);
    EXPECT_EQ(Month(2100, 2).numberOfDays(), 28);
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(Month(2011, month).numberOfDays(), lengths[month - 1]);
    }
}

TEST_F(CalendarPeriodsTest, MonthArithmeticAndPeriods) {
    EXPECT_EQ(Month(2012, 12).nextMonth(), Month(2013, 1));
    EXPECT_EQ(Month(2013, 1).previousMonth(), Month(2012, 12));
    EXPECT_EQ(Month(2012, 5).nextMonth(), Month(2012, 6));
    EXPECT_EQ(Month(2012, 11).monthsTo(Month(2013, 2)), 3);
    EXPECT_EQ(Month(2013, 2).monthsTo(Month(2012, 11)), -3);
    EXPECT_TRUE(Month(2013, 1).isLaterThan(Month(2012, 12)));
    EXPECT_TRUE(Month(2012, 1).isEarlierThan(Month(2012, 2)));
    EXPECT_EQ(Month(2012, 2).firstDay(), Day(2012, 2, 1));
    EXPECT_EQ(Month(2012, 2).lastDay(), Day(2012, 2, 29));
    EXPECT_EQ(Month(2012, 2).year(), Year(2012));
    EXPECT_EQ(Month(2012, 6).quarter(), Quarter(2012, 2));
    EXPECT_EQ(Month(2012, 8).twoMonths(), TwoMonths(2012, 7));
    EXPECT_EQ(Month(2012, 7).twoMonths(), TwoMonths(2012, 7));
    EXPECT_EQ(Month(2012, 1).twoMonths(), TwoMonths(2012, 1));
    EXPECT_EQ(Month(2012, 12).twoMonths(), TwoMonths(2012, 11));
    EXPECT_EQ(Month(2012, 3).description(), "2012-03");
    EXPECT_EQ(std::hash<Month>()(Month(2012, 3)), std::hash<int>()(2012 + 21));

    std::unordered_map<Month, int> map{{Month(2012, 3), 1}};
    map[Month(2012, 3)] = 2;
    EXPECT_EQ(map.size(), 1u);
}

TEST_F(CalendarPeriodsTest, MonthNamesComeFromTheLocale) {
    EXPECT_EQ(Month(2012, 1).name(), "January");
    EXPECT_EQ(Month(2012, 12).name(), "December");
    Locale::setCurrentLocale("de_DE");
    EXPECT_EQ(Month(2012, 3).name(), "März");
    // Format-context names: Russian months are in the genitive.
    Locale::setCurrentLocale("ru_RU");
    EXPECT_EQ(Month(2012, 1).name(), "января");
}

TEST_F(CalendarPeriodsTest, QuarterArithmetic) {
    const Quarter quarter(2012, 4);
    EXPECT_EQ(quarter.addQuarters(1), Quarter(2013, 1));
    EXPECT_EQ(quarter.quartersTo(Quarter(2013, 2)), 2);
    EXPECT_EQ(Quarter(2013, 2).quartersTo(quarter), -2);
    EXPECT_EQ(quarter.addQuarters(-4), Quarter(2011, 4));
    EXPECT_EQ(Quarter(2012, 1).addQuarters(-1), Quarter(2011, 4));
    EXPECT_EQ(Quarter(2012, 2).addQuarters(-9), Quarter(2010, 1));
    EXPECT_EQ(Quarter(2012, 2).addQuarters(-10), Quarter(2009, 4));
    EXPECT_EQ(Quarter(0, 1).addQuarters(-1), Quarter(-1, 4));
    EXPECT_EQ(quarter.firstMonth(), Month(2012, 10));
    EXPECT_EQ(quarter.lastMonth(), Month(2012, 12));
    EXPECT_EQ(quarter.numberOfMonths(), 3);
    EXPECT_EQ(quarter.months(), (std::vector<Month>{Month(2012, 10), Month(2012, 11), Month(2012, 12)}));
    EXPECT_EQ(Quarter(2012, 1).months(),
              (std::vector<Month>{Month(2012, 1), Month(2012, 2), Month(2012, 3)}));
    EXPECT_EQ(quarter.description(), "2012Q4");
    EXPECT_EQ(std::hash<Quarter>()(quarter), std::hash<int>()(2012 + 28));
}

TEST_F(CalendarPeriodsTest, TwoMonthsArithmetic) {
    const TwoMonths twoMonths(2012, 11);
    EXPECT_EQ(twoMonths.addTwoMonths(1), TwoMonths(2013, 1));
    EXPECT_EQ(TwoMonths(2013, 1).twoMonthsTo(twoMonths), -1);
    EXPECT_EQ(twoMonths.twoMonthsTo(TwoMonths(2014, 3)), 8);
    EXPECT_EQ(TwoMonths(2012, 1).addTwoMonths(-1), TwoMonths(2011, 11));
    EXPECT_EQ(TwoMonths(2012, 3).addTwoMonths(-8), TwoMonths(2010, 11));
    EXPECT_EQ(TwoMonths(0, 1).addTwoMonths(-1), TwoMonths(-1, 11));
    EXPECT_EQ(twoMonths.firstMonth(), Month(2012, 11));
    EXPECT_EQ(twoMonths.lastMonth(), Month(2012, 12));
    EXPECT_EQ(twoMonths.numberOfMonths(), 2);
    EXPECT_EQ(twoMonths.months(), (std::vector<Month>{Month(2012, 11), Month(2012, 12)}));
    EXPECT_EQ(twoMonths.description(), "2012-11+2012-12");
    EXPECT_EQ(std::hash<TwoMonths>()(twoMonths), std::hash<int>()(2012 + 77));
}

TEST_F(CalendarPeriodsTest, MonthsPeriodsWorkThroughTheBase) {
    const Quarter quarter(2012, 4);
    const TwoMonths twoMonths(2012, 11);
    const MonthsPeriod& quarterPeriod = quarter;
    const MonthsPeriod& twoMonthsPeriod = twoMonths;

    const std::unique_ptr<MonthsPeriod> nextQuarter = quarterPeriod.addMonthsPeriod(1);
    EXPECT_TRUE(nextQuarter->isEqual(Quarter(2013, 1)));
    EXPECT_EQ(nextQuarter->description(), "2013Q1");
    EXPECT_EQ(quarterPeriod.monthsPeriodsTo(*nextQuarter), 1);
    const std::unique_ptr<MonthsPeriod> previousTwoMonths = twoMonthsPeriod.addMonthsPeriod(-6);
    EXPECT_TRUE(previousTwoMonths->isEqual(TwoMonths(2011, 11)));
    EXPECT_EQ(twoMonthsPeriod.monthsPeriodsTo(*previousTwoMonths), -6);
    EXPECT_TRUE(quarterPeriod.clone()->isEqual(quarter));
    EXPECT_FALSE(quarterPeriod.isEqual(twoMonths));

    try {
        (void)quarterPeriod.monthsPeriodsTo(twoMonths);
        FAIL() << "a quarter measured against two months";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "otherMonthsPeriod should be of the same type");
    }
    EXPECT_THROW((void)twoMonthsPeriod.monthsPeriodsTo(quarter), std::invalid_argument);
}

TEST_F(CalendarPeriodsTest, DayNumbersOfAYear) {
    const std::vector<int>& common = Year(2011).dayNumbers();
    const std::vector<int>& leap = Year(2012).dayNumbers();
    ASSERT_EQ(common.size(), 365u);
    ASSERT_EQ(leap.size(), 366u);
    EXPECT_EQ(common[static_cast<std::size_t>(Day(2011, 12, 31).indexInYear())], 31);
    EXPECT_EQ(leap[static_cast<std::size_t>(Day(2012, 12, 31).indexInYear())], 31);
    EXPECT_EQ(leap[static_cast<std::size_t>(Day(2012, 2, 29).indexInYear())], 29);
    EXPECT_EQ(common[static_cast<std::size_t>(Day(2011, 3, 1).indexInYear())], 1);
    for (Day day(2012, 1, 1); day.yearNumber() == 2012; day = day.nextDay()) {
        ASSERT_EQ(leap[static_cast<std::size_t>(day.indexInYear())], day.dayNumber());
    }
    // Shared lists, built once, also when first asked for on several threads at once.
    EXPECT_EQ(&Year(1900).dayNumbers(), &common);
    EXPECT_EQ(&Year(2000).dayNumbers(), &leap);
    const std::vector<int>* seen[4] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &Year(2016).dayNumbers(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::vector<int>* list : seen) {
        EXPECT_EQ(list, &leap);
    }
}

TEST_F(CalendarPeriodsTest, RegionalYearNumbers) {
    EXPECT_EQ(Year(2012).regionalYearNumber(), 2012);
    Locale::setCurrentLocale("th_TH@calendar=buddhist");
    EXPECT_EQ(Year(2012).regionalYearNumber(), 2555);
    Locale::setCurrentLocale("ja_JP@calendar=japanese");
    EXPECT_EQ(Year(2012).regionalYearNumber(), 24);
    // A locale writing its own digits still gives a number.
    Locale::setCurrentLocale("ar_EG");
    EXPECT_EQ(Year(2012).regionalYearNumber(), 2012);
    Locale::setCurrentLocale("de_DE");
    EXPECT_EQ(Year(2012).regionalYearNumber(), 2012);
}

TEST_F(CalendarPeriodsTest, SeasonAwareColorsFollowTheHemisphere) {
    const auto expectHue = [](const Month& month, int twelfths) {
        const Color color = month.seasonAwareColor();
        EXPECT_NEAR(color.hue(), twelfths / 12.0, 1e-9) << month.description().toStdString();
        EXPECT_NEAR(color.saturation(), 0.6, 1e-9);
        EXPECT_NEAR(color.brightness(), 0.6, 1e-9);
        EXPECT_EQ(color.alpha(), 1.0);
    };
    Locale::setCurrentLocale("en_AU");
    Month::refreshSeasonAwareColors();
    expectHue(Month(2012, 7), 7);
    expectHue(Month(2012, 1), 1);
    expectHue(Month(2012, 12), 2);

    Locale::setCurrentLocale("de_DE");
    // Without a refresh the region is not looked at again.
    expectHue(Month(2012, 7), 7);
    Month::refreshSeasonAwareColors();
    expectHue(Month(2012, 7), 1);
    expectHue(Month(2012, 1), 7);
    expectHue(Month(2012, 8), 0);
    expectHue(Month(2012, 12), 8);

    // A locale without a region is northern.
    Locale::setCurrentLocale("de");
    Month::refreshSeasonAwareColors();
    expectHue(Month(2012, 7), 1);
    Locale::setCurrentLocale("pt_BR");
    Month::refreshSeasonAwareColors();
    expectHue(Month(2012, 7), 7);
    Locale::setCurrentLocale("en_US");
    Month::refreshSeasonAwareColors();
}

TEST_F(CalendarPeriodsTest, WeekInMonth) {
    const Week week = Day(2012, 10, 29).week();
    WeekInMonth row(week, Month(2012, 11));
    EXPECT_EQ(row.week(), week);
    EXPECT_EQ(row.month(), Month(2012, 11));
    EXPECT_EQ(row.description(), "2012-10-29 in 2012-11");
    EXPECT_EQ(row, WeekInMonth(Week(local(2012, 10, 29, 8)), Month(2012, 11)));
    EXPECT_FALSE(row == WeekInMonth(week, Month(2012, 10)));
    row.setMonth(Month(2012, 10));
    row.setWeek(week.previousWeek());
    EXPECT_EQ(row.description(), "2012-10-22 in 2012-10");
}

TEST_F(CalendarPeriodsTest, HolidayAndItsPickerEntry) {
    const Holiday holiday(nullptr, local(2012, 12, 24), local(2012, 12, 27));
    EXPECT_EQ(holiday.event(), nullptr);
    EXPECT_EQ(holiday.startDateTime(), local(2012, 12, 24));
    EXPECT_EQ(holiday.endDateTime(), local(2012, 12, 27));

    WeekPickerHolidayEntry entry;
    entry.setColor(Color(1, 0, 0));
    entry.setWeekIndex(3);
    entry.setFirstDayIndex(1);
    entry.setNumberOfDays(4);
    entry.setFirstEntryForHoliday(true);
    entry.setLastEntryForHoliday(false);
    entry.setFirstDaySingleDigit(true);
    EXPECT_EQ(entry.color(), Color(1, 0, 0));
    EXPECT_EQ(entry.weekIndex(), 3);
    EXPECT_EQ(entry.firstDayIndex(), 1);
    EXPECT_EQ(entry.numberOfDays(), 4);
    EXPECT_TRUE(entry.isFirstEntryForHoliday());
    EXPECT_FALSE(entry.isLastEntryForHoliday());
    EXPECT_TRUE(entry.isFirstDaySingleDigit());
}
