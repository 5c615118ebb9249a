#pragma once

#include "core/bus/ApplicationEvent.h"

#include <memory>

class EKEvent;

// The delete choice of an event's tap-and-hold menu.
class DeleteEventEvent final : public ApplicationEvent {
public:
    DeleteEventEvent() = default;
    explicit DeleteEventEvent(std::shared_ptr<EKEvent> event) : m_event(std::move(event)) {}

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setEvent(std::shared_ptr<EKEvent> event) { m_event = std::move(event); }

private:
    std::shared_ptr<EKEvent> m_event;
};
