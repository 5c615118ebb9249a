#include "core/bus/TargetActionPair.h"

#include "core/bus/BusReceiver.h"

TargetActionPair::TargetActionPair(BusReceiver* target, Action action)
    : m_target(target), m_targetAlive(target->lifetimeToken()), m_action(std::move(action)) {}

void TargetActionPair::executeForEvent(const std::shared_ptr<ApplicationEvent>& event) const {
    // A receiver destroyed by an earlier receiver of the same dispatch is still in the snapshot.
    if (m_targetAlive.expired() || !m_action) {
        return;
    }
    m_action(event);
}

void TargetActionPair::setTarget(BusReceiver* target) {
    m_target = target;
    m_targetAlive = target->lifetimeToken();
}
