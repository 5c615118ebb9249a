#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class DateTimeFormatter;
class EKAlarm;
class CalendarDirectory;
class EKCalendar;
class UserDefaults;

// The user's persistent choices, kept in the user defaults. Loads never fail: an absent or
// unrecognised value gives the documented default. Main thread only, except where noted.
class AppSettings {
public:
    // Stands for "no alert" wherever alert seconds are passed.
    static constexpr int noAlarm = std::numeric_limits<std::int32_t>::min();

    static AppSettings& instance();

    UserDefaults& userDefaults() const;
    DateTimeFormatter& formatter() const;

    // Written without flushing: the caller flushes when the application resigns. Stored with its
    // offset from UTC, so that it reads back exactly also where the clocks show a time twice.
    void storeLastActiveDate(Date date);
    std::optional<Date> loadLastActiveDate() const;

    void storeDefaultTimeZone(const TimeZone& zone);
    // The stored zone; on the first load the process default zone, which is stored at once.
    TimeZone loadDefaultTimeZone();

    // 0 international (ISO 8601), 1 USA; also applied to `Week`.
    void storeWeekNumberMethod(int method);
    int loadWeekNumberMethod() const;

    // 0 Thursday and Friday, 1 Friday and Saturday, 2 Saturday and Sunday; the first weekday of
    // `Week` follows.
    void storeWeekendDays(int weekendDays);
    int loadWeekendDays() const;
    static int firstWeekDayForWeekendDays(int weekendDays);

    void storeHintsEnabled(bool enabled);
    bool loadHintsEnabled() const;

    void storeJumpToTodayAfterSeconds(int seconds);
    int loadJumpToTodayAfterSeconds() const;

    // `alarmNumber` 1 is the first default alert, any other number the second; `noAlarm`
    // removes it.
    void storeDefaultAlarmSeconds(int seconds, int alarmNumber);
    double loadDefaultAlarmSecondsForAlarm(int alarmNumber) const;

    // The alarms of new events: none without a first default alert, otherwise the first,
    // followed by the second if one is stored.
    std::vector<EKAlarm> defaultAlarmsAsEKAlarms() const;

    // Calendars are stored by their identifier (Account::identifier) and resolved through the
    // calendars given (the event service). Loads may run on any thread.
    void storeDefaultCalendar(const EKCalendar& calendar);
    // The stored calendar if it still resolves, otherwise the system default (or null).
    std::shared_ptr<EKCalendar> loadDefaultCalendar(const CalendarDirectory& calendars) const;
    void storeHiddenCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars);
    // Identifiers that no longer resolve are left out; order and duplicates are kept.
    std::vector<std::shared_ptr<EKCalendar>> loadHiddenCalendars(const CalendarDirectory& calendars) const;

    // The defaults that apply when nothing is stored, from the user's locale.
    static int weekNumberMethodForLocale(const QString& localeIdentifier);
    static int weekendDaysForRegion(const QString& countryCode);

private:
    AppSettings() = default;

    void storeAndFlush(const QString& key, const QString& value);
};
