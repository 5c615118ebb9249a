#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"
#include "kit/Control.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class DatePickerWheel;

// The platform's time picker: a 216-point-high panel with an hour and a minute wheel, and an
// AM/PM wheel where the locale tells time on a 12-hour clock (before the hours where the locale
// writes the day period first). The hour and minute wheels loop. Rows follow the locale's short
// time format: "09" or "9", "0" to "23" or "12", "1" to "11".
//
// `date` is the time of day shown on the day of the date last set. Setting a date keeps it as it
// is, even between the steps of `minuteInterval`; the minute wheel then shows the step at or
// before it, and only a turn of a wheel by the user makes a new date: the date's day at the
// wheels' hour and minute, seconds zero. When the user's turn settles on another time,
// `onValueChanged` runs once.
class DatePicker : public Control {
public:
    enum class Mode { Time };
    static constexpr double pickerHeight = 216.0;

    DatePicker();
    // Keeps the frame's origin and width; the height is always the picker's own.
    explicit DatePicker(const Rect& frame);
    ~DatePicker() override;

    // Time of day is the only mode the program needs, so it is the only one there is.
    Mode datePickerMode() const { return Mode::Time; }
    void setDatePickerMode(Mode mode);

    Date date() const { return m_date; }
    // Turns the wheels to the date's time of day, animated over 0.3 seconds if asked; never
    // reports.
    void setDate(Date date, bool animated = false);
    int minuteInterval() const { return m_minuteInterval; }
    // From 1 to 30 and a divisor of 60; other values are ignored.
    void setMinuteInterval(int interval);
    // The locale's identifier ("en_US"); empty follows the user's locale as it is when set.
    QString locale() const { return m_locale; }
    void setLocale(const QString& identifier);
    // The zone the time of day is read in; none follows the process default.
    std::optional<TimeZone> timeZone() const { return m_timeZone; }
    void setTimeZone(std::optional<TimeZone> zone);

    bool usesTwelveHourClock() const { return m_twelveHour; }
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
    enum class Wheel { Hour, Minute, AmPm };

    static void wheelSettled(DatePickerWheel& wheel);
    // Reads the locale's time format and builds the wheels for it.
    void configureWheels();
    void attachWheels();
    void fillMinuteRows();
    void showDate(bool animated);
    void userTurnedWheels();
    std::shared_ptr<DatePickerWheel> wheel(Wheel kind) const;
    QString zoneName() const;

    Date m_date;
    int m_minuteInterval = 1;
    QString m_locale;
    std::optional<TimeZone> m_timeZone;

    bool m_twelveHour = false;
    // The hour pattern letter of the locale: 'H' (0–23), 'k' (1–24), 'h' (1–12) or 'K' (0–11).
    char m_hourLetter = 'H';
    bool m_padHours = true;
    bool m_amPmFirst = false;
    QStringList m_amPmSymbols;
    std::vector<Wheel> m_order;
    std::vector<std::shared_ptr<DatePickerWheel>> m_wheels;
};
