#pragma once

#include "core/bus/ApplicationEvent.h"

// A calendar was shown or hidden.
class VisibleCalendarsChangedEvent final : public ApplicationEvent {
public:
};
