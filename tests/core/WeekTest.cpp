#include "CalendarTestSupport.h"

#include "core/calendar/Day.h"

#include <chrono>
#include <map>
#include <unordered_set>

namespace {

class WeekTest : public CalendarTest {};

namespace chr = std::chrono;

chr::sys_days civil(const Day& day) {
    return chr::year_month_day{chr::year{day.yearNumber()},
                               chr::month{static_cast<unsigned>(day.monthNumber())},
                               chr::day{static_cast<unsigned>(day.dayNumber())}};
}

Day dayOf(chr::sys_days days) {
    const chr::year_month_day date{days};
    return Day(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())));
}

// ISO 8601 week numbers as ICU's own week fields give them (Monday first, four days minimum).
class IsoReference {
public:
    IsoReference() : m_calendar(icu::TimeZone::createTimeZone("UTC"), m_status) {
        m_calendar.setFirstDayOfWeek(UCAL_MONDAY);
        m_calendar.setMinimalDaysInFirstWeek(4);
    }

    int operator()(const Day& day) {
        m_calendar.clear();
        m_calendar.set(day.yearNumber(), day.monthNumber() - 1, day.dayNumber(), 12, 0, 0);
        return m_calendar.get(UCAL_WEEK_OF_YEAR, m_status);
    }

private:
    UErrorCode m_status = U_ZERO_ERROR;
    icu::GregorianCalendar m_calendar;
};

// USA week numbers as ICU's own week fields give them (Sunday first, one day minimum), and the
// title of the Sunday-to-Saturday week holding a day: where that week crosses into a new year,
// ICU counts it as week 1 of the new year, and the title names the old year's number first.
class UsaTitleReference {
public:
    UsaTitleReference() : m_calendar(icu::TimeZone::createTimeZone("UTC"), m_status) {
        m_calendar.setFirstDayOfWeek(UCAL_SUNDAY);
        m_calendar.setMinimalDaysInFirstWeek(1);
    }

    QString operator()(const Day& day) {
        const int number = weekOfYear(day);
        const Day sunday = day.addDays(1 - day.weekday());
        if (number == 1 && sunday.monthNumber() == 12) {
            return QString::number(weekOfYear(sunday.addDays(-7)) + 1) + "/1";
        }
        return QString::number(number);
    }

private:
    int weekOfYear(const Day& day) {
        m_calendar.clear();
        m_calendar.set(day.yearNumber(), day.monthNumber() - 1, day.dayNumber(), 12, 0, 0);
        return m_calendar.get(UCAL_WEEK_OF_YEAR, m_status);
    }

    UErrorCode m_status = U_ZERO_ERROR;
    icu::GregorianCalendar m_calendar;
};

// Titles of consecutive weeks count on by one ("52/1" counts as 52 followed by 1); they start
// again at 1 only in the week around New Year.
void expectTitleFollows(const QString& previous, const QString& title, const Day& middle) {
    const QStringList previousNumbers = previous.split('/');
    const int last = previousNumbers.last().toInt();
    const int first = title.split('/').first().toInt();
    const bool newYear = (middle.monthNumber() == 1 && middle.dayNumber() <= 10) ||
                         (middle.monthNumber() == 12 && middle.dayNumber() >= 25);
    const bool follows =
        first == last + 1 || (first == 1 && newYear && previousNumbers.size() == 1 && last >= 52);
    EXPECT_TRUE(follows) << previous.toStdString() << " then " << title.toStdString() << " in the week of "
                         << middle.description().toStdString();
}

// USA numbering from day counts: Sunday-to-Saturday weeks counted from the one holding 1 January.
int usaReference(const Day& day) {
    const chr::sys_days januaryFirst =
        chr::year_month_day{chr::year{day.yearNumber()}, chr::January, chr::day{1}};
    const auto daysIntoYear = static_cast<unsigned>((civil(day) - januaryFirst).count());
    return static_cast<int>((daysIntoYear + chr::weekday{januaryFirst}.c_encoding()) / 7 + 1);
}

} // namespace

TEST_F(WeekTest, InternationalWeekNumbersAroundTheTurnOfTheYear) {
    EXPECT_EQ(Week::isoWeekNumberForDay(Day(2009, 12, 31)), 53);
    EXPECT_EQ(Week::isoWeekNumberForDay(Day(2010, 1, 1)), 53);
    EXPECT_EQ(Week::isoWeekNumberForDay(Day(2008, 12, 29)), 1);
    EXPECT_EQ(Week::isoWeekNumberForDay(Day(2012, 1, 1)), 52);
    EXPECT_EQ(Week::isoWeekNumberForDay(Day(2012, 1, 2)), 1);
}

TEST_F(WeekTest, UsaWeekNumbersAroundTheTurnOfTheYear) {
    EXPECT_EQ(Week::usaWeekNumberForDay(Day(2012, 1, 1)), 1);
    EXPECT_EQ(Week::usaWeekNumberForDay(Day(2011, 12, 31)), 53);
    EXPECT_EQ(Week::usaWeekNumberForDay(Day(2012, 1, 7)), 1);
    EXPECT_EQ(Week::usaWeekNumberForDay(Day(2012, 1, 8)), 2);
}

TEST_F(WeekTest, WeekNumberFollowsTheMethod) {
    const Day day(2012, 1, 1);
    Week::setWeekNumberMethod(0);
    EXPECT_EQ(Week::weekNumberForDay(day), 52);
    Week::setWeekNumberMethod(1);
    EXPECT_EQ(Week::weekNumberForDay(day), 1);
}

TEST_F(WeekTest, WeekNumberTexts) {
    Week::setWeekNumberMethod(1);
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(Day(2014, 12, 28).week().weekNumber(), "53/1");
    EXPECT_EQ(Day(2011, 12, 25).week().weekNumber(), "53");
    EXPECT_EQ(Day(2012, 1, 1).week().weekNumber(), "1");
    // Weeks from other weekdays are named after the Sunday-to-Saturday week holding most of them.
    const auto titles = [](const Day& from) {
        QStringList texts;
        for (int index = 0; index < 3; ++index) {
            texts.append(from.addDays(7 * index).week().weekNumber());
        }
        return texts.join(' ').toStdString();
    };
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_EQ(titles(Day(2014, 12, 20)), "52 53/1 2");
    EXPECT_EQ(titles(Day(2010, 12, 18)), "52 53/1 2");
    Week::setFirstWeekdayOfWeek(2);
    EXPECT_EQ(titles(Day(2014, 12, 22)), "52 53/1 2");
    EXPECT_EQ(titles(Day(2011, 12, 19)), "52 53 1");

    Week::setWeekNumberMethod(0);
    Week::setFirstWeekdayOfWeek(2);
    EXPECT_EQ(Day(2014, 12, 29).week().weekNumber(), "1");
    EXPECT_EQ(Day(2009, 12, 28).week().weekNumber(), "53");
}

TEST_F(WeekTest, WeekNumbersOfEveryDayFrom1900To2100MatchTheReferences) {
    IsoReference iso;
    for (chr::sys_days days = civil(Day(1900, 1, 1)); days <= civil(Day(2100, 12, 31));
         days += chr::days{1}) {
        const Day day = dayOf(days);
        ASSERT_EQ(Week::isoWeekNumberForDay(day), iso(day)) << day.description().toStdString();
        ASSERT_EQ(Week::usaWeekNumberForDay(day), usaReference(day)) << day.description().toStdString();
    }
}

TEST_F(WeekTest, WeeksAndTheirTextsForEveryFirstWeekdayFrom1900To2100) {
    IsoReference iso;
    UsaTitleReference usa;
    for (int first = 1; first <= 7; ++first) {
        SCOPED_TRACE(first);
        Week::setFirstWeekdayOfWeek(first);
        QString previousIso;
        QString previousUsa;
        for (chr::sys_days days = civil(Day(1900, 1, 1)); days <= civil(Day(2100, 12, 31));
             days += chr::days{1}) {
            const Day day = dayOf(days);
            // chrono counts weekdays from Sunday = 0.
            const unsigned back = (chr::weekday{days}.c_encoding() + 8 - static_cast<unsigned>(first)) % 7;
            const Day firstDay = dayOf(days - chr::days{back});
            const Week week = day.week();
            ASSERT_EQ(week.firstDay(), firstDay) << day.description().toStdString();
            ASSERT_EQ(week.date(), firstDay.beginDateTime());
            if (back != 0) {
                continue;
            }
            // Once per week: the week of any moment of its days, and its texts under both methods,
            // each named after the method's own week that holds most of its days.
            ASSERT_EQ(DateUtilities::week(day.beginDateTime().addingTimeInterval(20 * 3600)), week);
            const Day middle = dayOf(days + chr::days{3});
            Week::setWeekNumberMethod(0);
            const QString isoTitle = week.weekNumber();
            ASSERT_EQ(isoTitle, QString::number(iso(middle))) << day.description().toStdString();
            Week::setWeekNumberMethod(1);
            const QString usaTitle = week.weekNumber();
            ASSERT_EQ(usaTitle, usa(middle)) << day.description().toStdString();
            if (!previousIso.isEmpty()) {
                expectTitleFollows(previousIso, isoTitle, middle);
                expectTitleFollows(previousUsa, usaTitle, middle);
            }
            previousIso = isoTitle;
            previousUsa = usaTitle;
        }
    }
}

TEST_F(WeekTest, FirstAndLastWeekday) {
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 2);
    EXPECT_EQ(Week::lastWeekdayOfWeek(), 1);
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(Week::lastWeekdayOfWeek(), 7);
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_EQ(Week::lastWeekdayOfWeek(), 6);
    // Out-of-range weekdays leave the setting alone.
    Week::setFirstWeekdayOfWeek(0);
    Week::setFirstWeekdayOfWeek(8);
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 7);
}

TEST_F(WeekTest, WeekdayDistancesAndColumns) {
    EXPECT_EQ(Week::daysFromWeekday(5, 5), 0);
    EXPECT_EQ(Week::daysFromWeekday(6, 2), 3);
    EXPECT_EQ(Week::daysFromWeekday(1, 7), 6);
    EXPECT_EQ(Week::daysFromWeekday(7, 1), 1);
    Week::setFirstWeekdayOfWeek(7);
    EXPECT_EQ(Week::indexInWeekOfWeekday(7), 0);
    EXPECT_EQ(Week::indexInWeekOfWeekday(1), 1);
    EXPECT_EQ(Week::indexInWeekOfWeekday(6), 6);
    Week::setFirstWeekdayOfWeek(2);
    EXPECT_EQ(Week::indexInWeekOfWeekday(1), 6);
    EXPECT_EQ(Week::indexInWeekOfWeekday(2), 0);
}

TEST_F(WeekTest, DaysOfAWeek) {
    const Week week(local(2012, 12, 31));
    EXPECT_EQ(week.firstDay(), Day(2012, 12, 31));
    EXPECT_EQ(week.middleOfTheWeekDay(), Day(2013, 1, 3));
    EXPECT_EQ(week.lastDay(), Day(2013, 1, 6));
    EXPECT_EQ(week.description(), "2012-12-31");
}

TEST_F(WeekTest, WeekArithmeticKeepsDayStartsAcrossDaylightSaving) {
    const Week week = Day(2012, 3, 19).week();
    EXPECT_EQ(week.nextWeek().date(), local(2012, 3, 26));
    EXPECT_EQ(week.nextWeek().previousWeek().date(), week.date());
    EXPECT_EQ(week.addWeeks(32).date(), local(2012, 10, 29));
    EXPECT_EQ(week.addWeeks(-12).date(), local(2011, 12, 26));
    EXPECT_EQ(week.weeksTo(week.addWeeks(-3)), -3);
    EXPECT_EQ(week.weeksTo(week.addWeeks(32)), 32);
    EXPECT_EQ(week.weeksTo(week), 0);

    useZone(QStringLiteral("Asia/Beirut"));
    Week::setFirstWeekdayOfWeek(1);
    // Sunday 2012-03-25 begins at 01:00; the weeks around it still begin at midnight.
    const Week gapWeek = Day(2012, 3, 25).week();
    EXPECT_EQ(gapWeek.date(), Day(2012, 3, 25).beginDateTime());
    EXPECT_EQ(gapWeek.nextWeek().date(), local(u"Asia/Beirut", 2012, 4, 1));
    EXPECT_EQ(gapWeek.previousWeek().date(), local(u"Asia/Beirut", 2012, 3, 18));
}

TEST_F(WeekTest, ComparisonEqualityAndHash) {
    const Week week(local(2012, 10, 22));
    const Week same(local(2012, 10, 22));
    // Equality is by calendar day, so the time of day does not matter.
    const Week sameDayLater(local(2012, 10, 22, 13, 0));
    const Week next(local(2012, 10, 29));
    EXPECT_EQ(week, same);
    EXPECT_EQ(std::hash<Week>()(week), std::hash<Week>()(same));
    EXPECT_EQ(week, sameDayLater);
    EXPECT_EQ(std::hash<Week>()(week), std::hash<Week>()(sameDayLater));
    EXPECT_NE(week, next);
    EXPECT_TRUE(next.isLaterThan(week));
    EXPECT_TRUE(week.isEarlierThan(next));
    EXPECT_FALSE(week.isLaterThan(same));
    EXPECT_FALSE(week < sameDayLater);
    EXPECT_FALSE(sameDayLater < week);
    EXPECT_TRUE(week < next);

    std::unordered_set<Week> set{week, same, sameDayLater, next};
    EXPECT_EQ(set.size(), 2u);
    std::map<Week, int> map{{week, 1}, {next, 2}};
    map[sameDayLater] = 3;
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(week), 3);

    const Week copy = week;
    EXPECT_EQ(copy.date(), week.date());
}

TEST_F(WeekTest, CurrentWeekAndTodayFollowTheMainClock) {
    const auto clock = std::make_shared<ManualRunLoop>(local(2012, 10, 28, 23, 30));
    RunLoop::setMain(clock);
    EXPECT_EQ(Day::today(), Day(2012, 10, 28));
    EXPECT_EQ(Week::currentWeek(), Week(local(2012, 10, 22)));
    clock->setNow(local(2012, 10, 29, 0, 0));
    EXPECT_EQ(Day::today(), Day(2012, 10, 29));
    EXPECT_EQ(Week::currentWeek(), Week(local(2012, 10, 29)));
    RunLoop::setMain(nullptr);
}
