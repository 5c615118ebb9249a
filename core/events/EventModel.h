#pragma once

#include "foundation/Date.h"

#include <QString>

#include <memory>
#include <optional>

class Day;
class EKCalendar;
class EKEvent;

// The tablet editor's working copy of an event: title, start, calendar and all-day flag, applied
// to a store event when the user is done. Uses the shared EventService.
class EventModel {
public:
    // A new event at 12:00 of the day.
    explicit EventModel(const Day& day);
    explicit EventModel(const EKEvent& event);

    // Title (trimmed), date and all-day flag, the calendar if the model names another one, and
    // for a new event the default alarms.
    void applyToEKEvent(EKEvent& event) const;
    // The store's event of the identifier, or a new one for the day of the date, with the model
    // applied; null when the identifier is no longer in the store.
    std::shared_ptr<EKEvent> ekEvent() const;

    const std::optional<QString>& identifier() const { return m_identifier; }
    void setIdentifier(std::optional<QString> identifier) { m_identifier = std::move(identifier); }
    const QString& title() const { return m_title; }
    void setTitle(QString title) { m_title = std::move(title); }
    Date date() const { return m_date; }
    void setDate(Date date) { m_date = date; }
    const std::shared_ptr<EKCalendar>& calendar() const { return m_calendar; }
    void setCalendar(std::shared_ptr<EKCalendar> calendar) { m_calendar = std::move(calendar); }
    bool allDay() const { return m_allDay; }
    void setAllDay(bool allDay) { m_allDay = allDay; }

private:
    std::optional<QString> m_identifier;
    QString m_title;
    Date m_date;
    std::shared_ptr<EKCalendar> m_calendar;
    bool m_allDay = false;
};
