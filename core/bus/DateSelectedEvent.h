#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/Date.h"

#include <memory>

class DayView;

// A tap on the body of a day box, or the add button of the day list.
class DateSelectedEvent final : public ApplicationEvent {
public:
    DateSelectedEvent() = default;
    DateSelectedEvent(Date date, std::shared_ptr<DayView> dayView)
        : m_date(date), m_dayView(std::move(dayView)) {}

    Date date() const { return m_date; }
    void setDate(Date date) { m_date = date; }
    const std::shared_ptr<DayView>& dayView() const { return m_dayView; }
    void setDayView(std::shared_ptr<DayView> dayView) { m_dayView = std::move(dayView); }

private:
    Date m_date;
    std::shared_ptr<DayView> m_dayView;
};
