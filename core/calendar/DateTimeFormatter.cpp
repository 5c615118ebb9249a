#include "core/calendar/DateTimeFormatter.h"

#include "foundation/StringUtilities.h"

#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

std::unique_ptr<icu::DateFormat> createPatternFormatter(const char16_t* pattern, const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(pattern), locale, status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        formatter = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(pattern),
                                                            icu::Locale::getRoot(), status);
    }
    return formatter;
}

std::unique_ptr<icu::DateFormat> createPatternFormatter(const char16_t* pattern) {
    return createPatternFormatter(pattern, icu::Locale::getDefault());
}

icu::DateFormat& ensure(std::unique_ptr<icu::DateFormat>& slot,
                        std::unique_ptr<icu::DateFormat> (*create)()) {
    if (!slot) {
        slot = create();
    }
    return *slot;
}

} // namespace

DateTimeFormatter& DateTimeFormatter::instance() {
    static DateTimeFormatter formatter;
    return formatter;
}

icu::DateFormat& DateTimeFormatter::timeFormatter() {
    return ensure(m_timeFormatter, [] {
        std::unique_ptr<icu::DateFormat> formatter(
            icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, icu::Locale::getDefault()));
        return formatter ? std::move(formatter) : createPatternFormatter(u"HH:mm", icu::Locale::getRoot());
    });
}

icu::DateFormat& DateTimeFormatter::settingsDateFormatter() {
    return ensure(m_settingsDateFormatter, [] {
        // Stored text must read back whatever the user's locale becomes, so it is written with
        // ASCII digits in the Gregorian calendar (en_US_POSIX), never in a locale's own digits or
        // era years. The zone is the process default one, like the other formats.
        std::unique_ptr<icu::DateFormat> formatter =
            createPatternFormatter(u"yyy-MM-dd HH:mm:ss", icu::Locale("en_US_POSIX"));
        formatter->setLenient(false);
        return formatter;
    });
}

icu::DateFormat& DateTimeFormatter::yearFormatter() {
    return ensure(m_yearFormatter, [] { return createPatternFormatter(u"y"); });
}

icu::DateFormat& DateTimeFormatter::dayOfWeekFormatter() {
    return ensure(m_dayOfWeekFormatter, [] { return createPatternFormatter(u"cccc"); });
}

icu::DateFormat& DateTimeFormatter::fullDayOfMonthFormatter() {
    return ensure(m_fullDayOfMonthFormatter, [] { return createPatternFormatter(u"d LLLL"); });
}

icu::DateFormat& DateTimeFormatter::dayOfMonthFormatter() {
    return ensure(m_dayOfMonthFormatter, [] { return createPatternFormatter(u"d LLL"); });
}

icu::DateFormat& DateTimeFormatter::fullDateFormatter() {
    return ensure(m_fullDateFormatter, [] {
        std::unique_ptr<icu::DateFormat> formatter(
            icu::DateFormat::createDateInstance(icu::DateFormat::kFull, icu::Locale::getDefault()));
        return formatter ? std::move(formatter)
                         : createPatternFormatter(u"y MMMM d, EEEE", icu::Locale::getRoot());
    });
}

icu::DateFormat& DateTimeFormatter::mediumDateFormatter() {
    return ensure(m_mediumDateFormatter, [] {
        std::unique_ptr<icu::DateFormat> formatter(
            icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, icu::Locale::getDefault()));
        return formatter ? std::move(formatter) : createPatternFormatter(u"y MMM d", icu::Locale::getRoot());
    });
}

icu::DateFormat& DateTimeFormatter::shortDateTimeFormatter() {
    return ensure(m_shortDateTimeFormatter, [] {
        std::unique_ptr<icu::DateFormat> formatter(icu::DateFormat::createDateTimeInstance(
            icu::DateFormat::kShort, icu::DateFormat::kShort, icu::Locale::getDefault()));
        return formatter ? std::move(formatter)
                         : createPatternFormatter(u"y-MM-dd HH:mm", icu::Locale::getRoot());
    });
}

QString DateTimeFormatter::format(icu::DateFormat& (DateTimeFormatter::*formatter)(), Date date) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    icu::UnicodeString text;
    (this->*formatter)().format(date.udate(), text);
    return StringUtilities::fromUnicodeString(text);
}

QString DateTimeFormatter::formatTime(Date date) {
    return format(&DateTimeFormatter::timeFormatter, date);
}

QString DateTimeFormatter::formatSettingsDate(Date date) {
    return format(&DateTimeFormatter::settingsDateFormatter, date);
}

std::optional<Date> DateTimeFormatter::parseSettingsDate(const QString& text) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return parseExactly(settingsDateFormatter(), text);
}

QString DateTimeFormatter::formatSettingsDateWithOffset(Date date) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    icu::DateFormat& formatter = settingsDateFormatter();
    icu::UnicodeString text;
    formatter.format(date.udate(), text);
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t rawOffset = 0;
    std::int32_t dstOffset = 0;
    formatter.getTimeZone().getOffset(date.udate(), false, rawOffset, dstOffset, status);
    const std::int32_t offset = U_SUCCESS(status) ? (rawOffset + dstOffset) / 1000 : 0;
    const std::int32_t magnitude = std::abs(offset);
    QString written = StringUtilities::fromUnicodeString(text);
    written +=
        QString::asprintf(" %c%02d%02d", offset < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
    if (magnitude % 60 != 0) {
        written += QString::asprintf("%02d", magnitude % 60);
    }
    return written;
}

std::optional<Date> DateTimeFormatter::parseSettingsDateWithOffset(const QString& text) {
    const qsizetype space = text.lastIndexOf(u' ');
    const QString offsetText = text.mid(space + 1);
    if (space < 0 || (offsetText.size() != 5 && offsetText.size() != 7) ||
        (offsetText[0] != u'+' && offsetText[0] != u'-')) {
        return std::nullopt;
    }
    std::array<int, 3> parts{0, 0, 0};
    for (qsizetype index = 1; index < offsetText.size(); ++index) {
        const char16_t digit = offsetText[index].unicode();
        if (digit < u'0' || digit > u'9') {
            return std::nullopt;
        }
        int& part = parts[static_cast<std::size_t>((index - 1) / 2)];
        part = part * 10 + (digit - u'0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        return std::nullopt;
    }
    const int offset = (offsetText[0] == u'-' ? -1 : 1) * (parts[0] * 3600 + parts[1] * 60 + parts[2]);
    const std::lock_guard<std::mutex> lock(m_mutex);
    // Read on a clock that keeps that offset all year, where every wall time happens exactly once.
    const std::unique_ptr<icu::DateFormat> fixed(settingsDateFormatter().clone());
    fixed->setTimeZone(icu::SimpleTimeZone(offset * 1000, icu::UnicodeString(u"Etc/Unknown")));
    return parseExactly(*fixed, text.left(space));
}

std::optional<Date> DateTimeFormatter::parseExactly(icu::DateFormat& formatter, const QString& text) {
    const icu::UnicodeString input = StringUtilities::toUnicodeString(text);
    icu::ParsePosition position(0);
    const UDate parsed = formatter.parse(input, position);
    if (input.isEmpty() || position.getErrorIndex() >= 0 || position.getIndex() != input.length()) {
        return std::nullopt;
    }
    // ICU's parser forgives leading spaces and short fields even when strict; a settings date is
    // only ever text this formatter wrote, so it must read back to exactly the same text.
    icu::UnicodeString written;
    formatter.format(parsed, written);
    if (written != input) {
        return std::nullopt;
    }
    return Date::withUDate(parsed);
}

QString DateTimeFormatter::formatYear(Date date) {
    return format(&DateTimeFormatter::yearFormatter, date);
}

QString DateTimeFormatter::formatDayOfWeek(Date date) {
    return StringUtilities::stringByUppercasingFirstLetter(
        format(&DateTimeFormatter::dayOfWeekFormatter, date));
}

QString DateTimeFormatter::formatFullDayOfMonth(Date date) {
    return format(&DateTimeFormatter::fullDayOfMonthFormatter, date);
}

QString DateTimeFormatter::formatDayOfMonth(Date date) {
    return format(&DateTimeFormatter::dayOfMonthFormatter, date);
}

QString DateTimeFormatter::formatFullDate(Date date) {
    return format(&DateTimeFormatter::fullDateFormatter, date);
}

QString DateTimeFormatter::formatMediumDate(Date date) {
    return format(&DateTimeFormatter::mediumDateFormatter, date);
}

QString DateTimeFormatter::formatShortDateTime(Date date) {
    return format(&DateTimeFormatter::shortDateTimeFormatter, date);
}

void DateTimeFormatter::reset() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_timeFormatter.reset();
    m_settingsDateFormatter.reset();
    m_yearFormatter.reset();
    m_dayOfWeekFormatter.reset();
    m_fullDayOfMonthFormatter.reset();
    m_dayOfMonthFormatter.reset();
    m_fullDateFormatter.reset();
    m_mediumDateFormatter.reset();
    m_shortDateTimeFormatter.reset();
}
