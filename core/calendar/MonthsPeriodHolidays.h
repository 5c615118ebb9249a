#pragma once

#include "core/calendar/Holiday.h"
#include "core/calendar/WeekPickerHolidayEntry.h"
#include "foundation/Color.h"
#include "foundation/Date.h"

#include <functional>
#include <optional>
#include <vector>

class Day;
class MonthsPeriod;

// The holiday bars of one week picker page: for each month of the page's period, by its
// position in the period, the bars drawn in that month. A month without bars that comes before
// one with bars holds the null marker; months after the last one with bars have no element.
//
// Made from calendar values only, so it may be computed on any thread.
class MonthsPeriodHolidays {
public:
    // The bar colour of a holiday, or none for the default grey.
    using HolidayColor = std::function<std::optional<Color>(const Holiday& holiday)>;

    // The events to read for a period: from 73 hours before its first day to 25 hours after
    // its last day, so that holidays beginning or ending just outside it are found.
    static Date fetchStartForMonthsPeriod(const MonthsPeriod& period);
    static Date fetchEndForMonthsPeriod(const MonthsPeriod& period);

    // Lays the holidays out as bars, one per week row and month they cover, the last holiday of
    // the list first. A run in a month's sixth row is drawn in the next month's first row, the
    // same week.
    static MonthsPeriodHolidays layoutForMonthsPeriod(const MonthsPeriod& period,
                                                      const std::vector<Holiday>& holidays,
                                                      const HolidayColor& holidayColor);

    // Appends the entry to the bars of the month at `position`, growing the list with null
    // markers as needed.
    void addHolidayEntry(const WeekPickerHolidayEntry& entry, int position);

    // The bars of the month at `position`; none past the end and for the null marker.
    const std::vector<WeekPickerHolidayEntry>* entriesAtPosition(int position) const;
    int count() const { return static_cast<int>(m_months.size()); }

private:
    static Day lastCoveredDay(const Holiday& holiday);

    std::vector<std::optional<std::vector<WeekPickerHolidayEntry>>> m_months;
};
