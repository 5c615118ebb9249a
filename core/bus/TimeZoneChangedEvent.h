#pragma once

#include "core/bus/ApplicationEvent.h"
#include "foundation/TimeZone.h"

#include <optional>

// The process default time zone was changed by the user.
class TimeZoneChangedEvent final : public ApplicationEvent {
public:
    TimeZoneChangedEvent() = default;
    TimeZoneChangedEvent(std::optional<TimeZone> fromTimeZone, std::optional<TimeZone> toTimeZone)
        : m_fromTimeZone(std::move(fromTimeZone)), m_toTimeZone(std::move(toTimeZone)) {}

    const std::optional<TimeZone>& fromTimeZone() const { return m_fromTimeZone; }
    void setFromTimeZone(std::optional<TimeZone> fromTimeZone) { m_fromTimeZone = std::move(fromTimeZone); }
    const std::optional<TimeZone>& toTimeZone() const { return m_toTimeZone; }
    void setToTimeZone(std::optional<TimeZone> toTimeZone) { m_toTimeZone = std::move(toTimeZone); }

private:
    std::optional<TimeZone> m_fromTimeZone;
    std::optional<TimeZone> m_toTimeZone;
};
