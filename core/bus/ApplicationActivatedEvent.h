#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/Date.h"

#include <optional>

// The application became active; carries when it last resigned active, if ever.
class ApplicationActivatedEvent final : public ApplicationEvent {
public:
    ApplicationActivatedEvent() = default;
    explicit ApplicationActivatedEvent(std::optional<Date> lastActiveDate)
        : m_lastActiveDate(std::move(lastActiveDate)) {}

    const std::optional<Date>& lastActiveDate() const { return m_lastActiveDate; }
    void setLastActiveDate(std::optional<Date> lastActiveDate) {
        m_lastActiveDate = std::move(lastActiveDate);
    }

private:
    std::optional<Date> m_lastActiveDate;
};
