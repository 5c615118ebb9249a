#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/Date.h"

#include <memory>

class View;

// A request to list the events of one day (a pinch or a tap on a day's header).
class ListEventsEvent final : public ApplicationEvent {
public:
    ListEventsEvent() = default;
    ListEventsEvent(std::shared_ptr<View> dayView, Date date) : m_dayView(std::move(dayView)), m_date(date) {}

    const std::shared_ptr<View>& dayView() const { return m_dayView; }
    void setDayView(std::shared_ptr<View> dayView) { m_dayView = std::move(dayView); }
    Date date() const { return m_date; }
    void setDate(Date date) { m_date = date; }

private:
    std::shared_ptr<View> m_dayView;
    Date m_date;
};
