#include "core/bus/ApplicationEventDispatcher.h"

#include <algorithm>

ApplicationEventDispatcher& ApplicationEventDispatcher::sharedInstance() {
    // Never destroyed: receivers with static lifetime unregister during exit.
    static auto* const instance = new ApplicationEventDispatcher();
    return *instance;
}

void ApplicationEventDispatcher::registerPair(std::type_index eventClass, TargetActionPair pair) {
    m_eventTargetActionPairs[eventClass].push_back(std::move(pair));
}

void ApplicationEventDispatcher::unregisterAllEventsForTarget(const BusReceiver* target) {
    // Lists are never removed, even when they become empty.
    for (auto& [eventClass, pairs] : m_eventTargetActionPairs) {
        std::erase_if(pairs, [target](const TargetActionPair& pair) { return pair.target() == target; });
    }
}

void ApplicationEventDispatcher::dispatchEvent(const std::shared_ptr<ApplicationEvent>& event) {
    if (!event) {
        return;
    }
    const ApplicationEvent& object = *event;
    const auto found = m_eventTargetActionPairs.find(typeid(object));
    if (found == m_eventTargetActionPairs.end()) {
        return;
    }
    // Receivers may register, unregister or dispatch while this runs; the snapshot decides who
    // hears this event.
    const std::vector<TargetActionPair> snapshot = found->second;
    for (const TargetActionPair& pair : snapshot) {
        pair.executeForEvent(event);
    }
}

std::size_t ApplicationEventDispatcher::registrationCount(std::type_index eventClass) const {
    const auto found = m_eventTargetActionPairs.find(eventClass);
    return found == m_eventTargetActionPairs.end() ? 0 : found->second.size();
}
