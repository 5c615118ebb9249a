#pragma once

#include "core/bus/ApplicationEvent.h"

// The events shown may have changed and are to be read again.
class EventStoreChangedEvent final : public ApplicationEvent {
public:
};
