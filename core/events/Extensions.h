#pragma once

#include "foundation/RunLoop.h"

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

// Helpers on lists and objects used across the program.
namespace Extensions {

namespace detail {

template <class T> struct Collected {
    // A value of any other type always counts as present.
    static bool present(const T&) { return true; }
    static const T& value(const T& item) { return item; }
};
template <class T> struct Collected<std::optional<T>> {
    static bool present(const std::optional<T>& item) { return item.has_value(); }
    static const T& value(const std::optional<T>& item) { return *item; }
};
template <class T> struct Collected<std::shared_ptr<T>> {
    static bool present(const std::shared_ptr<T>& item) { return item != nullptr; }
    static const std::shared_ptr<T>& value(const std::shared_ptr<T>& item) { return item; }
};

} // namespace detail

// The values of `function` for the elements, in element order; an empty optional or a null
// pointer is left out, duplicates are kept.
template <class Range, class Function> auto collectWithDuplicates(const Range& elements, Function function) {
    using Result = std::remove_cvref_t<decltype(function(*std::begin(elements)))>;
    using Value =
        std::remove_cvref_t<decltype(detail::Collected<Result>::value(std::declval<const Result&>()))>;
    std::vector<Value> values;
    for (const auto& element : elements) {
        const Result result = function(element);
        if (detail::Collected<Result>::present(result)) {
            values.push_back(detail::Collected<Result>::value(result));
        }
    }
    return values;
}

// A new list of the elements not equal to `object`, order kept.
template <class T, class Equal = std::equal_to<T>>
std::vector<T> arrayByRemovingObject(const std::vector<T>& elements, const T& object, Equal equal = Equal()) {
    std::vector<T> remaining;
    remaining.reserve(elements.size());
    for (const T& element : elements) {
        if (!equal(element, object)) {
            remaining.push_back(element);
        }
    }
    return remaining;
}

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
