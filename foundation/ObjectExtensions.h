#pragma once

#include "foundation/RunLoop.h"

#include <memory>
#include <optional>

// Operations on any object: a call put off on the main run loop, and the test for a present object.
namespace Extensions {

// Calls `selector` with `value` on the receiver after `delay` seconds on the main run loop,
// unless the receiver is gone by then: the timer holds it weakly. Main thread.
template <class T>
std::shared_ptr<Timer> performSelector(const std::shared_ptr<T>& receiver, void (T::*selector)(bool),
                                       bool value, double delay) {
    return RunLoop::main().scheduleTimer(delay, false, [weak = std::weak_ptr<T>(receiver), selector, value] {
        if (const std::shared_ptr<T> strong = weak.lock()) {
            ((*strong).*selector)(value);
        }
    });
}

// True when the object exists (the platform's null placeholder has no counterpart here).
template <class T> bool isNotNull(const std::shared_ptr<T>& object) {
    return object != nullptr;
}
template <class T> bool isNotNull(const std::optional<T>& object) {
    return object.has_value();
}

} // namespace Extensions
