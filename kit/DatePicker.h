#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"
#include "kit/Control.h"
#include "kit/DatePickerDays.h"
#include "kit/DatePickerFormat.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class DatePickerWheel;

// The platform's date picker: a 216-point-high panel of wheels, in one of three modes.
//
// Time: an hour and a minute wheel, and an AM/PM wheel where the locale tells time on a 12-hour
// clock (before the hours where the locale writes the day period first). The hour and minute
// wheels loop. Rows follow the locale's short time format: "09" or "9", "0" to "23" or "12", "1"
// to "11".
//
// Date: a month, a day-of-month and a year wheel, in the order the locale writes dates. Months
// and days loop; years run from 1900 to 2100. A turn onto a day the month does not have (31
// February) settles the day on the month's last one.
//
// DateAndTime: a wheel of days around the date ("Wed, Dec 9"; "Today" for the current day) and
// the time wheels beside it.
//
// `date` is the moment last set or made by a turn. Setting a date keeps it as it is, even between
// the steps of `minuteInterval`; the minute wheel then shows the step at or before it, and only a
// turn of a wheel by the user makes a new date: in Time mode the date's day at the wheels' hour
// and minute, in Date mode the chosen day at the date's time of day, in DateAndTime the chosen
// day at the wheels' hour and minute. Days and times are read in the picker's zone; seconds are
// zero after a turn of a time wheel. When the user's turn settles on another date,
// `onValueChanged` runs once.
class DatePicker : public Control {
public:
    enum class Mode { Time, Date, DateAndTime };
    static constexpr double pickerHeight = 216.0;

    DatePicker();
    // Keeps the frame's origin and width; the height is always the picker's own.
    explicit DatePicker(const Rect& frame);
    ~DatePicker() override;

    Mode datePickerMode() const { return m_mode; }
    // Rebuilds the wheels for the mode; the date stays.
    void setDatePickerMode(Mode mode);

    Date date() const { return m_date; }
    // Turns the wheels to the date, animated over 0.3 seconds if asked; never reports.
    void setDate(Date date, bool animated = false);
    int minuteInterval() const { return m_minuteInterval; }
    // From 1 to 30 and a divisor of 60; other values are ignored.
    void setMinuteInterval(int interval);
    // The locale's identifier ("en_US"); empty follows the user's locale as it is when set.
    QString locale() const { return m_locale; }
    void setLocale(const QString& identifier);
    // The zone days and times of day are read in; none follows the process default.
    std::optional<TimeZone> timeZone() const { return m_timeZone; }
    void setTimeZone(std::optional<TimeZone> zone);

    bool usesTwelveHourClock() const { return m_format.usesTwelveHourClock(); }
    // The wheels from left to right, as a picker presents them.
    int numberOfComponents() const { return static_cast<int>(m_wheels.size()); }
    int numberOfRowsInComponent(int component) const;
    QString titleForRow(int row, int component) const;
    int selectedRowInComponent(int component) const;
    // In this view's bounds.
    Rect rectForComponent(int component) const;
    // The row drawn across the picker's middle line in the component now.
    int rowShownInComponent(int component) const;
    // Whether a wheel is still turning.
    bool isMoving() const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    void layoutSubviews() override;
    void didMoveToSuperview() override;
    // A disabled picker's wheels take no touches.
    void stateDidChange() override;
    Size fittingSize(Size size) const override;

private:
    // Month, DayOfMonth and Year make the Date mode; Day is the wheel of whole days beside the
    // time wheels in DateAndTime.
    enum class Wheel { Hour, Minute, AmPm, Month, DayOfMonth, Year, Day };

    static void wheelSettled(DatePickerWheel& wheel);
    // Reads the locale's time (and date) format and builds the wheels of the mode for it.
    void configureWheels();
    std::shared_ptr<DatePickerWheel> makeWheel(Wheel kind) const;
    double wheelWidth(Wheel kind) const;
    void attachWheels();
    void fillMinuteRows();
    void showDate(bool animated);
    // Fills the day wheel with the days around `day` and turns it there, from the day it showed
    // when animated.
    void centreDays(const DatePickerDays& calendar, CivilDate day, bool animated);
    void userTurnedWheels();
    // The time of day the hour, minute and AM/PM wheels are turned to.
    DatePickerDays::TimeOfDay timeOnWheels() const;
    void userTurnedDateWheels();
    void userTurnedDayAndTimeWheels();
    std::shared_ptr<DatePickerWheel> wheel(Wheel kind) const;
    QString zoneName() const;
    DatePickerDays days() const { return DatePickerDays(zoneName()); }
    QString localeIdentifier() const;

    Mode m_mode = Mode::Time;
    Date m_date;
    int m_minuteInterval = 1;
    QString m_locale;
    std::optional<TimeZone> m_timeZone;

    DatePickerFormat m_format;
    // The first row of the day wheel, in days since 1970-01-01.
    std::int64_t m_firstDay = 0;
    std::vector<Wheel> m_order;
    std::vector<std::shared_ptr<DatePickerWheel>> m_wheels;
};
