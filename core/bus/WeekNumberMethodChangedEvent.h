#pragma once

#include "core/bus/ApplicationEvent.h"

// The user picked another week numbering method.
class WeekNumberMethodChangedEvent final : public ApplicationEvent {
public:
};
