#include "core/events/ReadOnlyCheck.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/Localization.h"

namespace {

// White space without line breaks, as the platform's whitespace character set has it: spaces
// and tabs.
bool isBlank(QChar character) {
    return character == QLatin1Char('\t') || character.category() == QChar::Separator_Space;
}

QString trimmedOfBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin))) {
        ++begin;
    }
    while (end > begin && isBlank(text.at(end - 1))) {
        --end;
    }
    return text.mid(begin, end - begin);
}

} // namespace

namespace ReadOnlyCheck {

bool isReadOnly(EKEvent& event) {
    const std::shared_ptr<EKCalendar> calendar = event.calendar();
    if (calendar && !calendar->allowsContentModifications()) {
        return true;
    }
    const Date remembered = event.startDate();
    // The probe must differ from the start, or an event starting at the probe instant would read
    // as refused.
    const Date probe = remembered == Date::withTimeIntervalSince1970(0.0)
                           ? Date::withTimeIntervalSince1970(1.0)
                           : Date::withTimeIntervalSince1970(0.0);
    event.setStartDate(probe);
    const Date readBack = event.startDate();
    event.setStartDate(remembered);
    return readBack == remembered;
}

Date endDateWithOptionalDuration(const EKEvent& event) {
    if (event.endDate().timeIntervalSinceDate(event.startDate()) > 3600.0) {
        return event.endDate();
    }
    return event.startDate().addingTimeInterval(1.0);
}

bool happensOnDay(const EKEvent& event, Date dayStart) {
    return event.startDate() <= DateUtilities::endOfDay(dayStart) &&
           endDateWithOptionalDuration(event) > dayStart;
}

bool happensInPeriodFromDate(const EKEvent& event, Date from, Date to) {
    return event.startDate() <= to && endDateWithOptionalDuration(event) > from;
}

QString titleAndLocation(const EKEvent& event) {
    QString text;
    if (!event.title().isNull()) {
        text += event.title().trimmed();
    }
    // An empty location counts as none; appending it would leave a dangling ", ".
    if (!event.location().isEmpty()) {
        if (!text.isEmpty()) {
            text += QStringLiteral(", ");
        }
        text += event.location();
    }
    if (!text.isEmpty()) {
        return trimmedOfBlanks(text);
    }
    return localizedString(QStringLiteral("New Event"));
}

QString time(const EKEvent& event) {
    return correctTime(DateTimeFormatter::instance().formatTime(event.startDate()));
}

QString correctTime(const QString& formattedTime) {
    if (!formattedTime.contains(QLatin1Char('M'))) {
        return formattedTime;
    }
    QString text = formattedTime;
    // ICU writes a narrow no-break space (CLDR 42 on) or a no-break space before the day period
    // where older platforms wrote a plain space; all three are the space meant here.
    for (const QChar space : {QChar(0x0020), QChar(0x202F), QChar(0x00A0)}) {
        text.replace(space + QStringLiteral("PM"), QStringLiteral("p"));
        text.replace(space + QStringLiteral("AM"), QStringLiteral("a"));
    }
    text.replace(QStringLiteral(":00p"), QStringLiteral("p"));
    text.replace(QStringLiteral(":00a"), QStringLiteral("a"));
    if (text.startsWith(QLatin1Char('0'))) {
        text.remove(0, 1);
    }
    return text;
}

void applyAlarms(EKEvent& event, const std::vector<EKAlarm>& alarms) {
    event.setAlarms({});
    const std::shared_ptr<EKCalendar> calendar = event.calendar();
    if (alarms.size() == 2 && calendar && calendar->type() == EKCalendarType::Exchange) {
        event.addAlarm(alarms.front());
        return;
    }
    for (const EKAlarm& alarm : alarms) {
        event.addAlarm(alarm);
    }
}

} // namespace ReadOnlyCheck
