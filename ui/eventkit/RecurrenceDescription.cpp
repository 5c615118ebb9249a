#include "ui/eventkit/RecurrenceDescription.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "foundation/Localization.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace {

using RuleParts = QMap<QString, QString>;

RuleParts ruleParts(const QString& rrule) {
    RuleParts parts;
    for (const QString& part : rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals > 0) {
            parts.insert(part.left(equals).toUpper(), part.mid(equals + 1));
        }
    }
    return parts;
}

QString fill(const QString& key, const QStringList& values) {
    QString text = localizedString(key);
    for (const QString& value : values) {
        const qsizetype at = text.indexOf(QStringLiteral("%@"));
        if (at < 0) {
            break;
        }
        text.replace(at, 2, value);
    }
    return text;
}

// "a, b and c".
QString joinedList(const QStringList& items) {
    if (items.size() <= 1) {
        return items.value(0);
    }
    return fill(localizationKey("%@ and %@"),
                {items.mid(0, items.size() - 1).join(QStringLiteral(", ")), items.last()});
}

QString weekdayName(const QString& code) {
    static const QMap<QString, QString> names{{QStringLiteral("MO"), localizationKey("Monday")},
                                              {QStringLiteral("TU"), localizationKey("Tuesday")},
                                              {QStringLiteral("WE"), localizationKey("Wednesday")},
                                              {QStringLiteral("TH"), localizationKey("Thursday")},
                                              {QStringLiteral("FR"), localizationKey("Friday")},
                                              {QStringLiteral("SA"), localizationKey("Saturday")},
                                              {QStringLiteral("SU"), localizationKey("Sunday")}};
    return localizedString(names.value(code.toUpper(), code));
}

QString ordinal(int position) {
    static const QStringList words{localizationKey("first"), localizationKey("second"),
                                   localizationKey("third"), localizationKey("fourth"),
                                   localizationKey("fifth")};
    if (position == -1) {
        return localizedString(QStringLiteral("last"));
    }
    if (position == -2) {
        return localizedString(QStringLiteral("second to last"));
    }
    if (position >= 1 && position <= words.size()) {
        return localizedString(words[position - 1]);
    }
    return fill(localizationKey("%@."), {QString::number(position)});
}

// "MO", "2TU" or "-1FR" in words; `setPosition` stands for a missing number (BYSETPOS).
QString weekdayPhrase(const QString& item, int setPosition) {
    static const QRegularExpression pattern(QStringLiteral("^([+-]?\\d+)?([A-Za-z]{2})$"));
    const QRegularExpressionMatch match = pattern.match(item);
    if (!match.hasMatch()) {
        return item;
    }
    const int position = match.captured(1).isEmpty() ? setPosition : match.captured(1).toInt();
    const QString day = weekdayName(match.captured(2));
    return position == 0 ? day : fill(localizationKey("the %@ %@"), {ordinal(position), day});
}

struct FrequencyWords {
    const char* frequency;
    const char* one;
    const char* many;
};
constexpr std::array<FrequencyWords, 7> frequencyWords{{
    {"DAILY", localizationKey("Every day"), localizationKey("Every %@ days")},
    {"WEEKLY", localizationKey("Every week"), localizationKey("Every %@ weeks")},
    {"MONTHLY", localizationKey("Every month"), localizationKey("Every %@ months")},
    {"YEARLY", localizationKey("Every year"), localizationKey("Every %@ years")},
    {"HOURLY", localizationKey("Every hour"), localizationKey("Every %@ hours")},
    {"MINUTELY", localizationKey("Every minute"), localizationKey("Every %@ minutes")},
    {"SECONDLY", localizationKey("Every second"), localizationKey("Every %@ seconds")},
}};

QString frequencyPhrase(const QString& frequency, int interval) {
    for (const FrequencyWords& words : frequencyWords) {
        if (frequency == QLatin1String(words.frequency)) {
            return interval == 1 ? localizedString(QString::fromLatin1(words.one))
                                 : fill(QString::fromLatin1(words.many), {QString::number(interval)});
        }
    }
    return localizedString(QStringLiteral("Custom"));
}

QString monthName(int month) {
    static const QStringList names{
        localizationKey("January"), localizationKey("February"), localizationKey("March"),
        localizationKey("April"),   localizationKey("May"),      localizationKey("June"),
        localizationKey("July"),    localizationKey("August"),   localizationKey("September"),
        localizationKey("October"), localizationKey("November"), localizationKey("December")};
    return month >= 1 && month <= 12 ? localizedString(names[month - 1]) : QString::number(month);
}

// "Chinese", "Islamic-Civil": the calendar of an RSCALE value.
QString calendarName(const QString& scale) {
    QStringList words = scale.toLower().split(QLatin1Char('-'));
    for (QString& word : words) {
        if (!word.isEmpty()) {
            word[0] = word[0].toUpper();
        }
    }
    return words.join(QLatin1Char('-'));
}

// A month of another calendar by its number: "month 5", or "leap month 5" for "5L".
QString otherCalendarMonth(const QString& month) {
    return month.endsWith(QLatin1Char('L'), Qt::CaseInsensitive)
               ? fill(localizationKey("leap month %@"), {month.chopped(1)})
               : fill(localizationKey("month %@"), {month});
}

QStringList restrictions(const RuleParts& parts) {
    QStringList phrases;
    const QString scale = parts.value(QStringLiteral("RSCALE")).toUpper();
    const bool otherCalendar = !scale.isEmpty() && scale != QLatin1String("GREGORIAN");
    if (parts.contains(QStringLiteral("BYMONTH"))) {
        QStringList months;
        for (const QString& month : parts.value(QStringLiteral("BYMONTH")).split(QLatin1Char(','))) {
            months.append(otherCalendar ? otherCalendarMonth(month) : monthName(month.toInt()));
        }
        phrases.append(fill(localizationKey("in %@"), {joinedList(months)}));
    }
    if (parts.contains(QStringLiteral("BYDAY"))) {
        const QStringList positions =
            parts.value(QStringLiteral("BYSETPOS")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const int setPosition = positions.size() == 1 ? positions.first().toInt() : 0;
        const QStringList items = parts.value(QStringLiteral("BYDAY")).split(QLatin1Char(','));
        QStringList days;
        // One position over several days picks one day of the set: "the first of Monday and
        // Friday".
        const bool positionOfSet = setPosition != 0 && items.size() > 1;
        for (const QString& day : items) {
            days.append(weekdayPhrase(day, positionOfSet ? 0 : setPosition));
        }
        phrases.append(
            positionOfSet ? fill(localizationKey("on the %@ of %@"), {ordinal(setPosition), joinedList(days)})
                          : fill(localizationKey("on %@"), {joinedList(days)}));
    }
    if (parts.contains(QStringLiteral("BYMONTHDAY"))) {
        QStringList days;
        for (const QString& day : parts.value(QStringLiteral("BYMONTHDAY")).split(QLatin1Char(','))) {
            const int number = day.toInt();
            days.append(number < 0 ? fill(localizationKey("the %@ day"), {ordinal(number)})
                                   : fill(localizationKey("the %@."), {QString::number(number)}));
        }
        phrases.append(fill(localizationKey("on %@"), {joinedList(days)}));
    }
    if (otherCalendar) {
        phrases.append(fill(localizationKey("in the %@ calendar"), {calendarName(scale)}));
    }
    return phrases;
}

QString endPhrase(const EKRecurrenceRule& rule) {
    const auto end = rule.recurrenceEnd();
    if (!end) {
        return {};
    }
    if (const auto date = end->endDate()) {
        return fill(localizationKey("until %@"), {DateTimeFormatter::instance().formatFullDate(*date)});
    }
    const int count = end->occurrenceCount();
    return count == 1 ? localizedString(QStringLiteral("once"))
                      : fill(localizationKey("%@ times"), {QString::number(count)});
}

} // namespace

QString RecurrenceDescription::describe(const EKRecurrenceRule& rule) {
    const RuleParts parts = ruleParts(rule.rrule());
    QString text =
        frequencyPhrase(parts.value(QStringLiteral("FREQ")).toUpper(), std::max(1, rule.interval()));
    const QStringList limits = restrictions(parts);
    if (!limits.isEmpty()) {
        text += QLatin1Char(' ') + limits.join(QLatin1Char(' '));
    }
    const QString end = endPhrase(rule);
    if (!end.isEmpty()) {
        text += QStringLiteral(", ") + end;
    }
    return text;
}
