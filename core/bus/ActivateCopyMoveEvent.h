#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/Date.h"

#include <memory>

class EKEvent;

// The copy or move choice of an event's tap-and-hold menu.
class ActivateCopyMoveEvent final : public ApplicationEvent {
public:
    ActivateCopyMoveEvent() = default;
    ActivateCopyMoveEvent(std::shared_ptr<EKEvent> event, Date date, bool copy)
        : m_event(std::move(event)), m_date(date), m_copy(copy) {}

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setEvent(std::shared_ptr<EKEvent> event) { m_event = std::move(event); }
    Date date() const { return m_date; }
    void setDate(Date date) { m_date = date; }
    bool copy() const { return m_copy; }
    void setCopy(bool copy) { m_copy = copy; }

private:
    std::shared_ptr<EKEvent> m_event;
    Date m_date;
    bool m_copy = false;
};
