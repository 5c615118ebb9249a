#pragma once

#include <cassert>
#include <utility>
#include <vector>

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
