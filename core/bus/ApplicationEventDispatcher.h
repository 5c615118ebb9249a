#pragma once

#include "core/bus/ApplicationEvent.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/TargetActionPair.h"

#include <concepts>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <unordered_map>
#include <vector>

// The in-process event bus: receivers register for an event class and are called, synchronously
// and in registration order, for every event of exactly that class. Main thread only.
class ApplicationEventDispatcher {
public:
    static ApplicationEventDispatcher& sharedInstance();

    ApplicationEventDispatcher() = default;
    ApplicationEventDispatcher(const ApplicationEventDispatcher&) = delete;
    ApplicationEventDispatcher& operator=(const ApplicationEventDispatcher&) = delete;

    // Appends a registration of `target` for events of class `EventClass`. The action takes the
    // event, or nothing. No duplicate test: registering twice means being called twice.
    template <class EventClass, class Target>
    requires std::derived_from<EventClass, ApplicationEvent> && std::derived_from<Target, BusReceiver>
    void registerTarget(Target* target, void (Target::*action)(const std::shared_ptr<EventClass>&)) {
        registerPair(
            typeid(EventClass),
            TargetActionPair(target, [target, action](const std::shared_ptr<ApplicationEvent>& event) {
                (target->*action)(std::static_pointer_cast<EventClass>(event));
            }));
    }

    template <class EventClass, class Target>
    requires std::derived_from<EventClass, ApplicationEvent> && std::derived_from<Target, BusReceiver>
    void registerTarget(Target* target, void (Target::*action)()) {
        registerPair(typeid(EventClass),
                     TargetActionPair(target, [target, action](const std::shared_ptr<ApplicationEvent>&) {
                         (target->*action)();
                     }));
    }

    // For receivers whose action is easier written inline.
    template <class EventClass>
    requires std::derived_from<EventClass, ApplicationEvent>
    void registerTarget(BusReceiver* target, std::function<void(const std::shared_ptr<EventClass>&)> action) {
        registerPair(typeid(EventClass),
                     TargetActionPair(target, [action = std::move(action)](
                                                  const std::shared_ptr<ApplicationEvent>& event) {
                         action(std::static_pointer_cast<EventClass>(event));
                     }));
    }

    // Removes every registration of `target`, for every event class.
    void unregisterAllEventsForTarget(const BusReceiver* target);

    // Delivers `event` to the receivers registered for its exact class, over a snapshot of the
    // registrations taken now.
    void dispatchEvent(const std::shared_ptr<ApplicationEvent>& event);

    template <class EventClass, class... Arguments>
    requires std::derived_from<EventClass, ApplicationEvent>
    void dispatch(Arguments&&... arguments) {
        dispatchEvent(std::make_shared<EventClass>(std::forward<Arguments>(arguments)...));
    }

    // Number of registrations for an event class (for tests and diagnostics).
    std::size_t registrationCount(std::type_index eventClass) const;

private:
    void registerPair(std::type_index eventClass, TargetActionPair pair);

    std::unordered_map<std::type_index, std::vector<TargetActionPair>> m_eventTargetActionPairs;
};
