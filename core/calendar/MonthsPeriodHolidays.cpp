#include "core/calendar/MonthsPeriodHolidays.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Month.h"
#include "core/calendar/MonthsPeriod.h"
#include "core/calendar/Week.h"

#include <algorithm>

namespace {

constexpr int holidayFetchHoursBefore = 73;
constexpr int holidayFetchHoursAfter = 25;
// A mini month shows five week rows.
constexpr int monthWeekRows = 5;

// Days from the first day of the week row holding the month's first day to `day`.
int daysFromMonthGridStart(const Month& month, const Day& day) {
    const Day gridStart = month.firstDay().week().firstDay();
    return static_cast<int>(day.daysSince1970() - gridStart.daysSince1970());
}

} // namespace

Date MonthsPeriodHolidays::fetchStartForMonthsPeriod(const MonthsPeriod& period) {
    return DateUtilities::addHours(period.firstMonth().firstDay().beginDateTime(), -holidayFetchHoursBefore);
}

Date MonthsPeriodHolidays::fetchEndForMonthsPeriod(const MonthsPeriod& period) {
    return DateUtilities::addHours(period.lastMonth().lastDay().endDateTime(), holidayFetchHoursAfter);
}

// The store ends an all-day event at 00:00 of the day after it, and a timed event may end at
// midnight too; neither covers the day its end falls on.
Day MonthsPeriodHolidays::lastCoveredDay(const Holiday& holiday) {
    const Date end = holiday.endDateTime();
    const Day endDay = DateUtilities::day(end);
    if (end > holiday.startDateTime() && end == endDay.beginDateTime()) {
        return endDay.addDays(-1);
    }
    return endDay;
}

MonthsPeriodHolidays MonthsPeriodHolidays::layoutForMonthsPeriod(const MonthsPeriod& period,
                                                                 const std::vector<Holiday>& holidays,
                                                                 const HolidayColor& holidayColor) {
    MonthsPeriodHolidays layout;
    const Month firstMonth = period.firstMonth();
    const int lastWeekday = Week::lastWeekdayOfWeek();
    for (auto holiday = holidays.rbegin(); holiday != holidays.rend(); ++holiday) {
        const std::optional<Color> color = holidayColor ? holidayColor(*holiday) : std::nullopt;
        Day day = DateUtilities::day(holiday->startDateTime());
        int daysLeft = static_cast<int>(lastCoveredDay(*holiday).daysSince1970() - day.daysSince1970()) + 1;
        bool first = true;
        // The bars of one holiday follow each other, so its last bar ends its month's list.
        int lastPosition = -1;
        while (daysLeft > 0) {
            Month month = day.month();
            const int daysLeftInWeek = Week::daysFromWeekday(day.weekday(), lastWeekday) + 1;
            const int daysLeftInMonth = month.numberOfDays() - day.dayNumber() + 1;
            int run = std::min({daysLeft, daysLeftInWeek, daysLeftInMonth});
            const int offset = daysFromMonthGridStart(month, day);
            int row = offset / 7;
            if (row >= monthWeekRows) {
                row = 0;
                month = month.nextMonth();
                run = std::min(daysLeft, daysLeftInWeek);
            }
            const int position = firstMonth.monthsTo(month);
            if (position >= 0 && position < period.numberOfMonths()) {
                WeekPickerHolidayEntry entry;
                entry.setColor(color.value_or(Color(0.5, 0.5, 0.5, 1.0)));
                entry.setWeekIndex(row);
                entry.setFirstDayIndex(offset % 7);
                entry.setNumberOfDays(run);
                entry.setFirstEntryForHoliday(first);
                entry.setFirstDaySingleDigit(day.dayNumber() < 10);
                layout.addHolidayEntry(entry, position);
                lastPosition = position;
                first = false;
            }
            day = day.addDays(run);
            daysLeft -= run;
        }
        if (lastPosition >= 0) {
            layout.m_months[lastPosition]->back().setLastEntryForHoliday(true);
        }
    }
    return layout;
}

void MonthsPeriodHolidays::addHolidayEntry(const WeekPickerHolidayEntry& entry, int position) {
    if (position < 0) {
        return;
    }
    if (position < count()) {
        std::optional<std::vector<WeekPickerHolidayEntry>>& month = m_months[position];
        if (!month) {
            month.emplace();
        }
        month->push_back(entry);
        return;
    }
    m_months.resize(static_cast<std::size_t>(position));
    m_months.emplace_back(std::vector<WeekPickerHolidayEntry>{entry});
}

const std::vector<WeekPickerHolidayEntry>* MonthsPeriodHolidays::entriesAtPosition(int position) const {
    if (position < 0 || position >= count() || !m_months[position]) {
        return nullptr;
    }
    return &*m_months[position];
}
