#include "kit/DatePickerDays.h"

#include "foundation/Localization.h"
#include "foundation/StringUtilities.h"
#include "foundation/WallTime.h"

#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace {

constexpr double millisecondsPerDay = 86400000.0;

std::unique_ptr<icu::GregorianCalendar> gregorianCalendarIn(const icu::UnicodeString& zoneName) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(icu::TimeZone::createTimeZone(zoneName), status);
    // Proleptic Gregorian, as WallTime turns the day back into a date.
    calendar->setGregorianChange(U_DATE_MIN, status);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

} // namespace

DatePickerDays::DatePickerDays(const QString& zoneName)
    : m_calendar(gregorianCalendarIn(StringUtilities::toUnicodeString(zoneName))) {}

DatePickerDays::~DatePickerDays() = default;

CivilDate DatePickerDays::day(Date date) const {
    if (!m_calendar) {
        return CivilDate::civilFromDays(
            CivilDate::floorDiv(static_cast<std::int64_t>(date.timeIntervalSince1970()), 86400));
    }
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->setTime(date.udate(), status);
    const CivilDate result{m_calendar->get(UCAL_EXTENDED_YEAR, status),
                           m_calendar->get(UCAL_MONTH, status) + 1, m_calendar->get(UCAL_DATE, status)};
    return U_SUCCESS(status) ? result : CivilDate{};
}

DatePickerDays::TimeOfDay DatePickerDays::timeOfDay(Date date) const {
    if (!m_calendar) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->setTime(date.udate(), status);
    const TimeOfDay time{m_calendar->get(UCAL_HOUR_OF_DAY, status), m_calendar->get(UCAL_MINUTE, status),
                         m_calendar->get(UCAL_SECOND, status)};
    return U_SUCCESS(status) ? time : TimeOfDay{};
}

Date DatePickerDays::dateOnDay(CivilDate day, TimeOfDay time) const {
    const WallTime wall{day, time.hour, time.minute, time.second};
    if (!m_calendar) {
        return Date::withUDate(wall.localMilliseconds());
    }
    return wall.dateIn(m_calendar->getTimeZone());
}

QStringList DatePickerDays::titlesOfDays(std::int64_t first, int count,
                                         const QString& localeIdentifier) const {
    const icu::Locale locale(localeIdentifier.toUtf8().constData());
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    icu::UnicodeString pattern(u"EEE, MMM d");
    if (U_SUCCESS(status)) {
        const icu::UnicodeString best = generator->getBestPattern(icu::UnicodeString(u"EEEMMMd"), status);
        if (U_SUCCESS(status)) {
            pattern = best;
        }
    }
    status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(pattern, locale, status);
    // The days are formatted as noon in UTC, on the same proleptic calendar as the wheels.
    if (auto utc = gregorianCalendarIn(icu::UnicodeString(u"UTC"))) {
        format.adoptCalendar(utc.release());
    }
    const CivilDate today = day(Date::now());
    const std::int64_t todayDays = CivilDate::daysFromCivil(today.year, today.month, today.day);
    const QString todayTitle = localizedString(QStringLiteral("Today"));
    QStringList titles;
    titles.reserve(count);
    for (std::int64_t days = first; days < first + count; ++days) {
        if (days == todayDays) {
            titles.append(todayTitle);
            continue;
        }
        icu::UnicodeString text;
        if (U_SUCCESS(status)) {
            format.format(static_cast<double>(days) * millisecondsPerDay + millisecondsPerDay / 2.0, text);
        }
        titles.append(StringUtilities::fromUnicodeString(text));
    }
    return titles;
}
