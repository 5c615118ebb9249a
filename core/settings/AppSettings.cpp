#include "core/settings/AppSettings.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/Week.h"
#include "core/events/Account.h"
#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKCalendar.h"
#include "core/settings/CalendarDirectory.h"
#include "foundation/ListExtensions.h"
#include "foundation/Locale.h"
#include "foundation/UserDefaults.h"

namespace {

const QString lastActiveDateKey = "lastActiveDate";
const QString timeZoneKey = "timeZone";
const QString weekNumberStandardKey = "weekNumberStandard";
const QString weekendDaysKey = "weekendDays";
const QString hintsEnabledKey = "hintsEnabled";
const QString jumpToTodayAfterSecondsKey = "jumpToTodayAfterSeconds";
const QString defaultAlertKey = "defaultAlert";
const QString defaultSecondAlertKey = "defaultSecondAlert";
const QString defaultCalendarKey = "defaultCalendar";
const QString hiddenCalendarsKey = "hiddenCalendars";

const int defaultJumpToTodayAfterSeconds = 900;

const QString& alarmKey(int alarmNumber) {
    return alarmNumber == 1 ? defaultAlertKey : defaultSecondAlertKey;
}

// The integer at the start of the text, as a decimal number; nothing when it holds none.
std::optional<qint64> leadingInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    int end = 0;
    if (end < trimmed.size() && (trimmed[end] == '-' || trimmed[end] == '+')) {
        ++end;
    }
    const int digitsStart = end;
    while (end < trimmed.size() && trimmed[end].isDigit()) {
        ++end;
    }
    if (end == digitsStart) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 value = trimmed.left(end).toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

AppSettings& AppSettings::instance() {
    static AppSettings* const settings = new AppSettings();
    return *settings;
}

UserDefaults& AppSettings::userDefaults() const {
    return UserDefaults::standardUserDefaults();
}

DateTimeFormatter& AppSettings::formatter() const {
    return DateTimeFormatter::instance();
}

void AppSettings::storeAndFlush(const QString& key, const QString& value) {
    userDefaults().setString(key, value);
    userDefaults().synchronize();
}

void AppSettings::storeLastActiveDate(Date date) {
    userDefaults().setString(lastActiveDateKey, formatter().formatSettingsDateWithOffset(date));
}

std::optional<Date> AppSettings::loadLastActiveDate() const {
    const std::optional<QString> stored = userDefaults().stringForKey(lastActiveDateKey);
    if (!stored) {
        return std::nullopt;
    }
    if (std::optional<Date> date = formatter().parseSettingsDateWithOffset(*stored)) {
        return date;
    }
    // Written before the offset was stored: the wall time alone.
    return formatter().parseSettingsDate(*stored);
}

void AppSettings::storeDefaultTimeZone(const TimeZone& zone) {
    storeAndFlush(timeZoneKey, zone.name());
}

TimeZone AppSettings::loadDefaultTimeZone() {
    const std::optional<QString> stored = userDefaults().stringForKey(timeZoneKey);
    if (stored) {
        if (std::optional<TimeZone> zone = TimeZone::withName(*stored)) {
            return *zone;
        }
        // A name this platform does not know is kept for a platform that might.
        return TimeZone::defaultTimeZone();
    }
    // Stored at once, so that the program keeps working in this zone when the device moves.
    const TimeZone zone = TimeZone::defaultTimeZone();
    storeDefaultTimeZone(zone);
    return zone;
}

void AppSettings::storeWeekNumberMethod(int method) {
    if (method == 0 || method == 1) {
        userDefaults().setString(weekNumberStandardKey, method == 0 ? "ISO8601" : "USA");
    }
    userDefaults().synchronize();
    Week::setWeekNumberMethod(method);
}

int AppSettings::weekNumberMethodForLocale(const QString& localeIdentifier) {
    return localeIdentifier == "en_US" || localeIdentifier == "ja_JP" ? 1 : 0;
}

int AppSettings::loadWeekNumberMethod() const {
    const std::optional<QString> stored = userDefaults().stringForKey(weekNumberStandardKey);
    if (!stored) {
        return weekNumberMethodForLocale(Locale::currentLocaleIdentifier());
    }
    return *stored == "USA" ? 1 : 0;
}

void AppSettings::storeWeekendDays(int weekendDays) {
    static const QString texts[] = {"ThursdayFriday", "FridaySaturday", "SaturdaySunday"};
    if (weekendDays >= 0 && weekendDays <= 2) {
        userDefaults().setString(weekendDaysKey, texts[weekendDays]);
    }
    userDefaults().synchronize();
    Week::setFirstWeekdayOfWeek(firstWeekDayForWeekendDays(weekendDays));
}

int AppSettings::weekendDaysForRegion(const QString& countryCode) {
    if (countryCode.isEmpty()) {
        return 2;
    }
    const QString bracketed = QString("|%1|").arg(countryCode);
    if (QStringLiteral("|SA|OM|YE|AF|IR|").contains(bracketed, Qt::CaseInsensitive)) {
        return 0;
    }
    if (QStringLiteral("|DZ|BH|BD|EG|IQ|JO|KW|LY|MR|QA|SD|SY|AE|").contains(bracketed, Qt::CaseInsensitive)) {
        return 1;
    }
    return 2;
}

int AppSettings::loadWeekendDays() const {
    const std::optional<QString> stored = userDefaults().stringForKey(weekendDaysKey);
    if (!stored) {
        return weekendDaysForRegion(Locale::countryCode());
    }
    if (*stored == "ThursdayFriday") {
        return 0;
    }
    return *stored == "FridaySaturday" ? 1 : 2;
}

int AppSettings::firstWeekDayForWeekendDays(int weekendDays) {
    switch (weekendDays) {
    case 0:
        return 7;
    case 1:
        return 1;
    default:
        return 2;
    }
}

void AppSettings::storeHintsEnabled(bool enabled) {
    storeAndFlush(hintsEnabledKey, enabled ? "ENABLED" : "DISABLED");
}

bool AppSettings::loadHintsEnabled() const {
    return userDefaults().stringForKey(hintsEnabledKey).value_or(QString()) != "DISABLED";
}

void AppSettings::storeJumpToTodayAfterSeconds(int seconds) {
    storeAndFlush(jumpToTodayAfterSecondsKey, QString::number(seconds));
}

int AppSettings::loadJumpToTodayAfterSeconds() const {
    const std::optional<QString> stored = userDefaults().stringForKey(jumpToTodayAfterSecondsKey);
    const std::optional<qint64> value = stored ? leadingInteger(*stored) : std::nullopt;
    if (!value || *value < 0 || *value > std::numeric_limits<int>::max()) {
        return defaultJumpToTodayAfterSeconds;
    }
    return static_cast<int>(*value);
}

void AppSettings::storeDefaultAlarmSeconds(int seconds, int alarmNumber) {
    if (seconds == noAlarm) {
        userDefaults().removeObjectForKey(alarmKey(alarmNumber));
    } else {
        userDefaults().setString(alarmKey(alarmNumber), QString::number(seconds));
    }
    userDefaults().synchronize();
}

double AppSettings::loadDefaultAlarmSecondsForAlarm(int alarmNumber) const {
    const std::optional<QString> stored = userDefaults().stringForKey(alarmKey(alarmNumber));
    bool ok = false;
    const double seconds = stored ? stored->trimmed().toDouble(&ok) : 0.0;
    return ok ? seconds : static_cast<double>(noAlarm);
}

std::vector<EKAlarm> AppSettings::defaultAlarmsAsEKAlarms() const {
    std::vector<EKAlarm> alarms;
    const double first = loadDefaultAlarmSecondsForAlarm(1);
    if (first == static_cast<double>(noAlarm)) {
        return alarms;
    }
    alarms.push_back(EKAlarm::alarmWithRelativeOffset(first));
    const double second = loadDefaultAlarmSecondsForAlarm(2);
    if (second != static_cast<double>(noAlarm)) {
        alarms.push_back(EKAlarm::alarmWithRelativeOffset(second));
    }
    return alarms;
}

void AppSettings::storeDefaultCalendar(const EKCalendar& calendar) {
    storeAndFlush(defaultCalendarKey, Account::identifier(calendar));
}

std::shared_ptr<EKCalendar> AppSettings::loadDefaultCalendar(const CalendarDirectory& calendars) const {
    if (const std::optional<QString> stored = userDefaults().stringForKey(defaultCalendarKey)) {
        if (std::shared_ptr<EKCalendar> calendar = calendars.findCalendarByIdentifier(*stored)) {
            return calendar;
        }
    }
    return calendars.systemDefaultCalendar();
}

void AppSettings::storeHiddenCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
    const std::vector<QString> identifiers = Extensions::collectWithDuplicates(
        calendars, [](const std::shared_ptr<EKCalendar>& calendar) -> std::optional<QString> {
            if (!calendar) {
                return std::nullopt;
            }
            return Account::identifier(*calendar);
        });
    userDefaults().setStringList(hiddenCalendarsKey, QStringList(identifiers.begin(), identifiers.end()));
    userDefaults().synchronize();
}

std::vector<std::shared_ptr<EKCalendar>>
AppSettings::loadHiddenCalendars(const CalendarDirectory& calendars) const {
    const std::optional<QStringList> identifiers = userDefaults().stringListForKey(hiddenCalendarsKey);
    if (!identifiers) {
        return {};
    }
    return Extensions::collectWithDuplicates(*identifiers, [&calendars](const QString& identifier) {
        return calendars.findCalendarByIdentifier(identifier);
    });
}
