#pragma once

#include "foundation/Color.h"

// One bar of a holiday within one week row of a week picker month.
class WeekPickerHolidayEntry {
public:
    const Color& color() const { return m_color; }
    void setColor(const Color& color) { m_color = color; }
    // Row of the month, from 0.
    int weekIndex() const { return m_weekIndex; }
    void setWeekIndex(int weekIndex) { m_weekIndex = weekIndex; }
    // Column of the first covered day, 0..6.
    int firstDayIndex() const { return m_firstDayIndex; }
    void setFirstDayIndex(int firstDayIndex) { m_firstDayIndex = firstDayIndex; }
    int numberOfDays() const { return m_numberOfDays; }
    void setNumberOfDays(int numberOfDays) { m_numberOfDays = numberOfDays; }
    // This bar begins the holiday.
    bool isFirstEntryForHoliday() const { return m_firstEntryForHoliday; }
    void setFirstEntryForHoliday(bool first) { m_firstEntryForHoliday = first; }
    // This bar ends the holiday.
    bool isLastEntryForHoliday() const { return m_lastEntryForHoliday; }
    void setLastEntryForHoliday(bool last) { m_lastEntryForHoliday = last; }
    // The day number in the first covered cell has one digit.
    bool isFirstDaySingleDigit() const { return m_firstDaySingleDigit; }
    void setFirstDaySingleDigit(bool singleDigit) { m_firstDaySingleDigit = singleDigit; }

    bool operator==(const WeekPickerHolidayEntry&) const = default;

private:
    Color m_color;
    int m_weekIndex = 0;
    int m_firstDayIndex = 0;
    int m_numberOfDays = 0;
    bool m_firstEntryForHoliday = false;
    bool m_lastEntryForHoliday = false;
    bool m_firstDaySingleDigit = false;
};
