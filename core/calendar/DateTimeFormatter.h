#pragma once

#include "foundation/Date.h"

#include <QString>

#include <unicode/datefmt.h>

#include <memory>
#include <mutex>
#include <optional>

// The display formats and the settings' date format. Each formatter is made at its first use in
// the process default time zone and the user's locale of that moment, and kept until reset().
class DateTimeFormatter {
public:
    static DateTimeFormatter& instance();

    DateTimeFormatter(const DateTimeFormatter&) = delete;
    DateTimeFormatter& operator=(const DateTimeFormatter&) = delete;

    // The locale's short time style, no date.
    QString formatTime(Date date);
    // "yyy-MM-dd HH:mm:ss".
    QString formatSettingsDate(Date date);
    // The whole text must match the settings format, strictly; otherwise nothing.
    std::optional<Date> parseSettingsDate(const QString& text);
    // The settings format followed by the zone's offset from UTC at that moment, " +hhmm" (or
    // " +hhmmss" for an offset with seconds), so that a time the clocks show twice reads back as
    // the moment it was.
    QString formatSettingsDateWithOffset(Date date);
    // The whole text must match that format, strictly; otherwise nothing.
    std::optional<Date> parseSettingsDateWithOffset(const QString& text);
    // "y".
    QString formatYear(Date date);
    // "cccc", first letter upper-cased.
    QString formatDayOfWeek(Date date);
    // "d LLLL".
    QString formatFullDayOfMonth(Date date);
    // "d LLL".
    QString formatDayOfMonth(Date date);
    // The locale's full date style, no time.
    QString formatFullDate(Date date);
    // The locale's medium date style, no time.
    QString formatMediumDate(Date date);
    // The locale's short date and time styles together.
    QString formatShortDateTime(Date date);

    // Discards every formatter; each is made again at its next use (after a time zone change).
    void reset();

private:
    DateTimeFormatter() = default;

    // The whole text read by the formatter, which must write it back identically; the caller
    // holds m_mutex.
    static std::optional<Date> parseExactly(icu::DateFormat& formatter, const QString& text);
    // Each made on first use; the caller holds m_mutex.
    icu::DateFormat& timeFormatter();
    icu::DateFormat& settingsDateFormatter();
    icu::DateFormat& yearFormatter();
    icu::DateFormat& dayOfWeekFormatter();
    icu::DateFormat& fullDayOfMonthFormatter();
    icu::DateFormat& dayOfMonthFormatter();
    icu::DateFormat& fullDateFormatter();
    icu::DateFormat& mediumDateFormatter();
    icu::DateFormat& shortDateTimeFormatter();

    QString format(icu::DateFormat& (DateTimeFormatter::*formatter)(), Date date);

    // Formatting is meant for the main thread; the lock keeps a stray background use from
    // racing with reset().
    std::mutex m_mutex;
    std::unique_ptr<icu::DateFormat> m_timeFormatter;
    std::unique_ptr<icu::DateFormat> m_settingsDateFormatter;
    std::unique_ptr<icu::DateFormat> m_yearFormatter;
    std::unique_ptr<icu::DateFormat> m_dayOfWeekFormatter;
    std::unique_ptr<icu::DateFormat> m_fullDayOfMonthFormatter;
    std::unique_ptr<icu::DateFormat> m_dayOfMonthFormatter;
    std::unique_ptr<icu::DateFormat> m_fullDateFormatter;
    std::unique_ptr<icu::DateFormat> m_mediumDateFormatter;
    std::unique_ptr<icu::DateFormat> m_shortDateTimeFormatter;
};
