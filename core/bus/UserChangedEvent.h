#pragma once

#include "core/bus/ApplicationEvent.h"

// This program has just written to the event store (successfully or not).
class UserChangedEvent final : public ApplicationEvent {
public:
};
