#pragma once

#include "core/eventstore/EKEventStore.h"

#include <memory>

// A save to be made later: the event and the span it is saved with.
class EventSaveCommand {
public:
    EventSaveCommand() = default;
    EventSaveCommand(std::shared_ptr<EKEvent> event, EKSpan span) : m_event(std::move(event)), m_span(span) {}

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setEvent(std::shared_ptr<EKEvent> event) { m_event = std::move(event); }
    EKSpan span() const { return m_span; }
    void setSpan(EKSpan span) { m_span = span; }

private:
    std::shared_ptr<EKEvent> m_event;
    EKSpan m_span = EKSpan::ThisEvent;
};
