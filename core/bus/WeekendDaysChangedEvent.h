#pragma once

#include "core/bus/ApplicationEvent.h"

// The user picked other weekend days; weeks now begin on another weekday.
class WeekendDaysChangedEvent final : public ApplicationEvent {
public:
};
