#pragma once

#include "core/bus/ApplicationEvent.h"

// No touch began or ended for the idle period.
class UserIsIdleEvent final : public ApplicationEvent {
public:
};
