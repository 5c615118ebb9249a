#pragma once

#include "foundation/Date.h"

#include <memory>
#include <utility>

class EKEvent;

// A multi-day event as the week picker draws it, with the event's start and end as they were
// when the record was made.
class Holiday {
public:
    Holiday(std::shared_ptr<EKEvent> event, Date startDateTime, Date endDateTime)
        : m_event(std::move(event)), m_startDateTime(startDateTime), m_endDateTime(endDateTime) {}

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    Date startDateTime() const { return m_startDateTime; }
    Date endDateTime() const { return m_endDateTime; }

private:
    std::shared_ptr<EKEvent> m_event;
    Date m_startDateTime;
    Date m_endDateTime;
};
