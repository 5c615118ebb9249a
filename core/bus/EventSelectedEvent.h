#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/Date.h"

#include <memory>

class DayView;
class EKEvent;

// A tap on an event row of a day box or of the day list.
class EventSelectedEvent final : public ApplicationEvent {
public:
    EventSelectedEvent() = default;
    EventSelectedEvent(std::shared_ptr<EKEvent> event, Date tappedDate, std::shared_ptr<DayView> dayView)
        : m_event(std::move(event)), m_tappedDate(tappedDate), m_dayView(std::move(dayView)) {}

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setEvent(std::shared_ptr<EKEvent> event) { m_event = std::move(event); }
    Date tappedDate() const { return m_tappedDate; }
    void setTappedDate(Date tappedDate) { m_tappedDate = tappedDate; }
    const std::shared_ptr<DayView>& dayView() const { return m_dayView; }
    void setDayView(std::shared_ptr<DayView> dayView) { m_dayView = std::move(dayView); }

private:
    std::shared_ptr<EKEvent> m_event;
    Date m_tappedDate;
    std::shared_ptr<DayView> m_dayView;
};
