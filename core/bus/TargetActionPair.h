#pragma once

#include "core/bus/ApplicationEvent.h"

#include <functional>
#include <memory>

class BusReceiver;

// One registration on the bus: a receiver that is not owned and the action called on it.
class TargetActionPair {
public:
    using Action = std::function<void(const std::shared_ptr<ApplicationEvent>&)>;

    TargetActionPair(BusReceiver* target, Action action);

    // Calls the action with the event unless the target has been destroyed meanwhile.
    void executeForEvent(const std::shared_ptr<ApplicationEvent>& event) const;

    BusReceiver* target() const { return m_target; }
    void setTarget(BusReceiver* target);
    const Action& action() const { return m_action; }
    void setAction(Action action) { m_action = std::move(action); }

private:
    BusReceiver* m_target;
    std::weak_ptr<void> m_targetAlive;
    Action m_action;
};
