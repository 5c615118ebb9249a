#include "core/events/EventModel.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "core/settings/AppSettings.h"

EventModel::EventModel(const Day& day) : m_date(day.noon()) {}

EventModel::EventModel(const EKEvent& event)
    : m_title(event.title()), m_date(event.startDate()), m_calendar(event.calendar()),
      m_allDay(event.allDay()) {
    if (!event.eventIdentifier().isEmpty()) {
        m_identifier = event.eventIdentifier();
    }
}

void EventModel::applyToEKEvent(EKEvent& event) const {
    event.setTitle(m_title.trimmed());
    EventService::sharedInstance().applyDate(m_date, event, m_allDay);
    const std::shared_ptr<EKCalendar> current = event.calendar();
    if (m_calendar && !(current && current->isEqual(*m_calendar))) {
        event.setCalendar(m_calendar);
    }
    if (!m_identifier) {
        ReadOnlyCheck::applyAlarms(event, AppSettings::instance().defaultAlarmsAsEKAlarms());
    }
}

std::shared_ptr<EKEvent> EventModel::ekEvent() const {
    EventService& eventService = EventService::sharedInstance();
    std::shared_ptr<EKEvent> event = m_identifier ? eventService.eventByIdentifier(*m_identifier)
                                                  : eventService.newEventForDay(DateUtilities::day(m_date));
    if (event) {
        applyToEKEvent(*event);
    }
    return event;
}
