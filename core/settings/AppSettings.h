#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <optional>

class DateTimeFormatter;
class UserDefaults;

// The user's persistent choices, kept in the user defaults. Loads never fail: an absent or
// unrecognised value gives the documented default. Main thread only.
class AppSettings {
public:
    // Stands for "no alert" wherever alert seconds are passed.
    static constexpr int noAlarm = std::numeric_limits<std::int32_t>::min();

    static AppSettings& instance();

    UserDefaults& userDefaults() const;
    DateTimeFormatter& formatter() const;

    // Written without flushing: the caller flushes when the application resigns.
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

    // The defaults that apply when nothing is stored, from the user's locale.
    static int weekNumberMethodForLocale(const QString& localeIdentifier);
    static int weekendDaysForRegion(const QString& countryCode);

private:
    AppSettings() = default;

    void storeAndFlush(const QString& key, const QString& value);
};
