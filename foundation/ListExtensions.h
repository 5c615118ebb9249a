#pragma once

#include <cassert>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

// Operations on lists: values collected from their elements, an element taken out, and the
// rotations that recycle pages.
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

} // namespace Extensions

// Rotations used to recycle pages. The list must not be empty.
namespace Move {

// Moves the first element to the end and returns it.
template <class T> T moveFirstObjectToEnd(std::vector<T>& elements) {
    assert(!elements.empty());
    T moved = std::move(elements.front());
    elements.erase(elements.begin());
    elements.push_back(moved);
    return moved;
}

// Moves the last element to the beginning and returns it.
template <class T> T moveLastObjectToBegin(std::vector<T>& elements) {
    assert(!elements.empty());
    T moved = std::move(elements.back());
    elements.pop_back();
    elements.insert(elements.begin(), moved);
    return moved;
}

} // namespace Move
