#include "core/eventstore/EKEvent.h"

#include <QDateTime>

#include <algorithm>

std::shared_ptr<EKEvent> EKEvent::eventWithEventStore(EKEventStore& /*store*/) {
    return std::make_shared<EKEvent>();
}

void EKEvent::setEventIdentifier(const QString& eventIdentifier) {
    m_eventIdentifier = eventIdentifier;
}

void EKEvent::setTitle(QString title) {
    m_title = std::move(title);
}

void EKEvent::setLocation(QString location) {
    m_location = std::move(location);
}

void EKEvent::setNotes(QString notes) {
    m_notes = std::move(notes);
}

void EKEvent::setURL(QString URL) {
    m_URL = std::move(URL);
}

void EKEvent::setStartDate(Date startDate) {
    if (m_calendar && !m_calendar->allowsContentModifications()) {
        return;
    }
    m_startDate = startDate;
}

void EKEvent::setEndDate(Date endDate) {
    m_endDate = endDate;
}

void EKEvent::setAllDay(bool allDay) {
    m_allDay = allDay;
}

void EKEvent::setTimeZone(QString timeZone) {
    m_timeZone = std::move(timeZone);
}

void EKEvent::setCalendar(std::shared_ptr<EKCalendar> calendar) {
    m_calendar = std::move(calendar);
}

void EKEvent::setAlarms(std::vector<EKAlarm> alarms) {
    m_alarms = std::move(alarms);
}

void EKEvent::addAlarm(EKAlarm alarm) {
    m_alarms.push_back(alarm);
}

void EKEvent::removeAlarm(const EKAlarm& alarm) {
    const auto found = std::find(m_alarms.begin(), m_alarms.end(), alarm);
    if (found != m_alarms.end()) {
        m_alarms.erase(found);
    }
}

void EKEvent::setRecurrenceRule(std::optional<EKRecurrenceRule> recurrenceRule) {
    m_recurrenceRule = std::move(recurrenceRule);
}

void EKEvent::setExcludedOccurrenceDates(std::vector<Date> dates) {
    m_excludedOccurrenceDates = std::move(dates);
}

void EKEvent::setOccurrenceDate(std::optional<Date> occurrenceDate) {
    m_occurrenceDate = occurrenceDate;
    m_occurrenceWall.reset();
}

void EKEvent::setOccurrence(Date occurrenceDate, std::int64_t occurrenceWall) {
    m_occurrenceDate = occurrenceDate;
    m_occurrenceWall = occurrenceWall;
}

void EKEvent::setCalendarItemExternalIdentifier(const QString& identifier) {
    m_calendarItemExternalIdentifier = identifier;
}

void EKEvent::setAlarmOffsets(const std::vector<double>& offsets) {
    std::vector<EKAlarm> kept = m_alarms;
    std::vector<EKAlarm> alarms;
    for (const double offset : offsets) {
        const auto found = std::find_if(kept.begin(), kept.end(), [offset](const EKAlarm& alarm) {
            return alarm.relativeOffset() == offset;
        });
        if (found != kept.end()) {
            alarms.push_back(std::move(*found));
            kept.erase(found);
        } else {
            alarms.push_back(EKAlarm::alarmWithRelativeOffset(offset));
        }
    }
    m_alarms = std::move(alarms);
}

void EKEvent::setOtherProperties(QString properties) {
    m_otherProperties = std::move(properties);
}

void EKEvent::setSequence(int sequence) {
    m_sequence = std::max(sequence, 0);
}

void EKEvent::setLastModifiedDate(std::optional<Date> date) {
    m_lastModifiedDate = date;
}

void EKEvent::setDetached(bool detached) {
    m_detached = detached;
}

bool EKEvent::isEqual(const EKEvent& other) const {
    return m_eventIdentifier == other.m_eventIdentifier &&
           m_occurrenceDate.value_or(m_startDate) == other.m_occurrenceDate.value_or(other.m_startDate);
}

QString EKEvent::description() const {
    const auto format = [](Date date) {
        return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(date.udate()), Qt::UTC)
            .toString(Qt::ISODate);
    };
    QString text = QStringLiteral("EKEvent {identifier = %1; title = %2; start = %3; end = %4; allDay = %5")
                       .arg(m_eventIdentifier, m_title, format(m_startDate), format(m_endDate),
                            m_allDay ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (!m_timeZone.isEmpty()) {
        text += QStringLiteral("; timeZone = ") + m_timeZone;
    }
    if (m_calendar) {
        text += QStringLiteral("; calendar = ") + m_calendar->title();
    }
    if (m_recurrenceRule) {
        text += QStringLiteral("; rule = ") + m_recurrenceRule->rrule();
    }
    if (m_occurrenceDate) {
        text += QStringLiteral("; occurrence = ") + format(*m_occurrenceDate);
    }
    if (m_detached) {
        text += QStringLiteral("; detached");
    }
    return text + QStringLiteral("}");
}

std::shared_ptr<EKEvent> EKEvent::copy() const {
    auto event = std::make_shared<EKEvent>(*this);
    if (m_calendar) {
        event->m_calendar = m_calendar->copy();
    }
    return event;
}
