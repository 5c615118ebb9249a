#include "ui/eventkit/EventDateText.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"

#include <QRegularExpression>

namespace {

// The settings format "yyy-MM-dd HH:mm:ss" less its seconds, or less its time.
constexpr qsizetype secondsLength = 3;
constexpr qsizetype timeLength = 9;

} // namespace

QString EventDateText::format(Date date, bool dayOnly) {
    const QString full = DateTimeFormatter::instance().formatSettingsDate(date);
    return full.left(full.size() - (dayOnly ? timeLength : secondsLength));
}

std::optional<Date> EventDateText::parse(const QString& text, bool dayOnly) {
    static const QRegularExpression dayPattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression timePattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}$"));
    const QString trimmed = text.trimmed();
    if (!(dayOnly ? dayPattern : timePattern).match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    const std::optional<Date> date = DateTimeFormatter::instance().parseSettingsDate(
        trimmed + (dayOnly ? QStringLiteral(" 00:00:00") : QStringLiteral(":00")));
    if (date && dayOnly) {
        return DateUtilities::day(*date).beginDateTime();
    }
    return date;
}

QString EventDateText::display(Date date, bool dayOnly) {
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    const QString day = formatter.formatMediumDate(date);
    return dayOnly ? day : day + QLatin1Char(' ') + formatter.formatTime(date);
}
