#pragma once

#include "core/bus/ApplicationEvent.h"

// The first touch after an idle period.
class UserIsActiveEvent final : public ApplicationEvent {
public:
};
