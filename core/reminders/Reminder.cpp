#include "core/reminders/Reminder.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "foundation/Localization.h"

QString Reminder::body(Date now) const {
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    QString when = allDay ? localizedString(QStringLiteral("All day")) : formatter.formatTime(startDate);
    if (!DateUtilities::isEqualToDateIgnoreTime(startDate, now)) {
        when = formatter.formatMediumDate(startDate) + QStringLiteral(", ") + when;
    }
    if (location.isEmpty()) {
        return when;
    }
    return when + QLatin1Char('\n') + location;
}

QString Reminder::missedSummary(std::size_t count) {
    return localizedString(QStringLiteral("%n missed reminders"), static_cast<int>(count));
}

QString Reminder::missedBody(const std::vector<Reminder>& reminders) {
    QStringList titles;
    for (const Reminder& reminder : reminders) {
        titles.append(reminder.title);
    }
    return titles.join(QLatin1Char('\n'));
}
