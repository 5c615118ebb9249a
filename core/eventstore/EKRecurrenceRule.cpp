#include "core/eventstore/EKRecurrenceRule.h"

#include "core/eventstore/IcalRules.h"
#include "core/eventstore/WallClock.h"
#include "foundation/CivilDate.h"

#include <libical/ical.h>

#include <cmath>

namespace {

QString canonicalText(const icalrecurrencetype& rule) {
    icalrecurrencetype copy = rule;
    char* text = icalrecurrencetype_as_string_r(&copy);
    QString result = QString::fromUtf8(text ? text : "");
    icalmemory_free_buffer(text);
    return result;
}

EKRecurrenceFrequency frequencyOf(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
    case ICAL_WEEKLY_RECURRENCE:
        return EKRecurrenceFrequency::Weekly;
    case ICAL_MONTHLY_RECURRENCE:
        return EKRecurrenceFrequency::Monthly;
    case ICAL_YEARLY_RECURRENCE:
        return EKRecurrenceFrequency::Yearly;
    default:
        return EKRecurrenceFrequency::Daily;
    }
}

icalrecurrencetype_frequency icalFrequency(EKRecurrenceFrequency frequency) {
    switch (frequency) {
    case EKRecurrenceFrequency::Daily:
        return ICAL_DAILY_RECURRENCE;
    case EKRecurrenceFrequency::Weekly:
        return ICAL_WEEKLY_RECURRENCE;
    case EKRecurrenceFrequency::Monthly:
        return ICAL_MONTHLY_RECURRENCE;
    case EKRecurrenceFrequency::Yearly:
        return ICAL_YEARLY_RECURRENCE;
    }
    return ICAL_DAILY_RECURRENCE;
}

// A date-only UNTIL includes its whole day; a floating one is read in the process default zone.
Date untilDate(const icaltimetype& until) {
    const std::int64_t days = CivilDate::daysFromCivil(until.year, until.month, until.day);
    if (until.is_date) {
        return WallClock::startOfDay(days + 1).addingTimeInterval(-1.0);
    }
    const std::int64_t wall =
        days * WallClock::secondsPerDay + until.hour * 3600 + until.minute * 60 + until.second;
    if (icaltime_is_utc(until)) {
        return Date::withTimeIntervalSince1970(static_cast<double>(wall));
    }
    return WallClock::date(wall, QString());
}

} // namespace

EKRecurrenceRule::EKRecurrenceRule(EKRecurrenceFrequency frequency, int interval,
                                   std::optional<EKRecurrenceEnd> end)
    : m_frequency(frequency), m_interval(std::max(1, interval)), m_recurrenceEnd(end) {
    QString text =
        QStringLiteral("FREQ=") + QString::fromLatin1(icalrecur_freq_to_string(icalFrequency(frequency)));
    if (m_interval > 1) {
        text += QStringLiteral(";INTERVAL=%1").arg(m_interval);
    }
    if (end) {
        if (end->occurrenceCount() > 0) {
            text += QStringLiteral(";COUNT=%1").arg(end->occurrenceCount());
        } else if (end->endDate()) {
            text += QStringLiteral(";UNTIL=") + WallClock::formatUtc(*end->endDate());
            // The text keeps whole seconds; the end as read back must say the same.
            m_recurrenceEnd = EKRecurrenceEnd::recurrenceEndWithEndDate(
                Date::withTimeIntervalSince1970(std::floor(end->endDate()->timeIntervalSince1970())));
        } else {
            m_recurrenceEnd.reset();
        }
    }
    m_rrule = canonicalText(IcalRules::fromString(text.toUtf8()).rule);
}

std::optional<EKRecurrenceRule> EKRecurrenceRule::fromRRule(const QString& rrule, QString* error) {
    QString text = rrule.trimmed();
    if (text.startsWith(QStringLiteral("RRULE:"), Qt::CaseInsensitive)) {
        text = text.mid(6);
    }
    const auto fail = [&](const QString& problem) -> std::optional<EKRecurrenceRule> {
        if (error) {
            *error = problem;
        }
        return std::nullopt;
    };
    if (text.isEmpty()) {
        return fail(QStringLiteral("The repetition rule is empty."));
    }
    icalerror_clear_errno();
    const IcalRules::Rule read = IcalRules::fromString(text.toUtf8());
    const icalrecurrencetype& rule = read.rule;
    if (rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR) {
        icalerror_clear_errno();
        return fail(QStringLiteral("The repetition rule “%1” is not valid.").arg(text));
    }
    if (rule.interval < 1) {
        return fail(QStringLiteral("The repetition rule “%1” has an interval below 1.").arg(text));
    }
    if (rule.count < 0 || (rule.count > 0 && !icaltime_is_null_time(rule.until))) {
        return fail(QStringLiteral("The repetition rule “%1” has both COUNT and UNTIL.").arg(text));
    }
    EKRecurrenceRule result;
    result.m_rrule = canonicalText(rule);
    result.m_frequency = frequencyOf(rule.freq);
    result.m_interval = rule.interval;
    if (rule.count > 0) {
        result.m_recurrenceEnd = EKRecurrenceEnd::recurrenceEndWithOccurrenceCount(rule.count);
    } else if (!icaltime_is_null_time(rule.until)) {
        result.m_recurrenceEnd = EKRecurrenceEnd::recurrenceEndWithEndDate(untilDate(rule.until));
    }
    return result;
}
