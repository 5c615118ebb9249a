#include "core/calendar/MonthsPeriodHolidays.h"
#include "CalendarTestSupport.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"

namespace {

class MonthsPeriodHolidaysTest : public CalendarTest {
protected:
    // An all-day holiday: the store ends it at 00:00 of the day after its last day.
    static Holiday allDay(int year, int month, int day, int lastYear, int lastMonth, int lastDay) {
        return Holiday(nullptr, local(year, month, day), local(lastYear, lastMonth, lastDay + 1));
    }

    // Each month of the period as "row:column+days" per bar with the flags f (first bar), l (last
    // bar) and 1 (one-digit first day); "null" for the null marker, nothing past the list's end.
    static QString describe(const MonthsPeriodHolidays& layout) {
        QStringList months;
        for (int position = 0; position < layout.count(); ++position) {
            const std::vector<WeekPickerHolidayEntry>* entries = layout.entriesAtPosition(position);
            QStringList bars;
            for (const WeekPickerHolidayEntry& entry :
                 entries ? *entries : std::vector<WeekPickerHolidayEntry>{}) {
                bars << QStringLiteral("%1:%2+%3%4%5%6")
                            .arg(entry.weekIndex())
                            .arg(entry.firstDayIndex())
                            .arg(entry.numberOfDays())
                            .arg(entry.isFirstEntryForHoliday() ? "f" : "")
                            .arg(entry.isLastEntryForHoliday() ? "l" : "")
                            .arg(entry.isFirstDaySingleDigit() ? "1" : "");
            }
            months << (entries ? bars.join(QLatin1Char(',')) : QStringLiteral("null"));
        }
        return months.join(QStringLiteral(" | "));
    }

    static QString layOut(const MonthsPeriod& period, const std::vector<Holiday>& holidays) {
        return describe(MonthsPeriodHolidays::layoutForMonthsPeriod(period, holidays, {}));
    }
};

} // namespace

TEST_F(MonthsPeriodHolidaysTest, BarsFollowWeekRowsAndMonths) {
    // Friday 13 to Tuesday 17 March 2026, weeks from Monday: Friday to Sunday, then Monday and
    // Tuesday in the next row.
    EXPECT_EQ(layOut(Quarter(2026, 1), {allDay(2026, 3, 13, 2026, 3, 17)}), "null | null | 2:4+3f,3:0+2l");
    // 30 April to 2 May: one bar in each month.
    EXPECT_EQ(layOut(Quarter(2026, 2), {allDay(2026, 4, 30, 2026, 5, 2)}), "4:3+1f | 0:4+2l1");
    // 31 August lies in August's sixth row and is drawn in September's first row, the same week.
    EXPECT_EQ(layOut(Quarter(2026, 3), {allDay(2026, 8, 31, 2026, 9, 3)}), "null | null | 0:0+4fl");
    // Begun in December, the first bar inside the first quarter still opens the holiday.
    EXPECT_EQ(layOut(Quarter(2026, 1), {allDay(2025, 12, 28, 2026, 1, 3)}), "0:3+3fl1");
    // Weeks from Sunday move the columns and rows.
    Week::setFirstWeekdayOfWeek(1);
    EXPECT_EQ(layOut(TwoMonths(2026, 3), {allDay(2026, 3, 13, 2026, 3, 17)}), "1:5+2f,2:0+3l");
}

TEST_F(MonthsPeriodHolidaysTest, ListsMonthsUpToTheLastWithBars) {
    EXPECT_EQ(layOut(Quarter(2026, 1), {}), "");
    EXPECT_EQ(MonthsPeriodHolidays::layoutForMonthsPeriod(Quarter(2026, 1), {}, {}).entriesAtPosition(0),
              nullptr);
    // Holidays outside the period make no bars; the last holiday of the list comes first.
    const std::vector<Holiday> holidays = {allDay(2026, 1, 5, 2026, 1, 6), allDay(2026, 1, 20, 2026, 1, 21),
                                           allDay(2026, 7, 1, 2026, 7, 9)};
    EXPECT_EQ(layOut(Quarter(2026, 1), holidays), "3:1+2fl,1:0+2fl1");
}

TEST_F(MonthsPeriodHolidaysTest, ColoursBarsByHolidayOrGrey) {
    const std::vector<Holiday> holidays = {allDay(2026, 1, 5, 2026, 1, 6), allDay(2026, 1, 12, 2026, 1, 13)};
    int asked = 0;
    const MonthsPeriodHolidays layout = MonthsPeriodHolidays::layoutForMonthsPeriod(
        Quarter(2026, 1), holidays, [&asked](const Holiday&) -> std::optional<Color> {
            return ++asked == 1 ? std::optional<Color>(Color(1, 0, 0)) : std::nullopt;
        });
    ASSERT_NE(layout.entriesAtPosition(0), nullptr);
    EXPECT_EQ(layout.entriesAtPosition(0)->at(0).color(), Color(1, 0, 0));
    EXPECT_EQ(layout.entriesAtPosition(0)->at(1).color(), Color(0.5, 0.5, 0.5));
}

TEST_F(MonthsPeriodHolidaysTest, FetchesAroundThePeriod) {
    EXPECT_EQ(MonthsPeriodHolidays::fetchStartForMonthsPeriod(TwoMonths(2026, 3)), local(2026, 2, 25, 23));
    EXPECT_EQ(MonthsPeriodHolidays::fetchEndForMonthsPeriod(TwoMonths(2026, 3)),
              local(2026, 5, 2, 0, 59, 59));
}
